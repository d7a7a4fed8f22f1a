#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/OutputFile.h"
#include "core/TextFile.h"
#include "support/TestFiles.h"

namespace {

using testfiles::contents;
using testfiles::entries;
using testfiles::FileSizeLimit;
using testfiles::writeFile;

TEST(OutputFile, TheFileAppearsWholeOnCommitAndAnOlderOneStaysOnEveryFailure) {
  QTemporaryDir dir;
  const QString path = dir.filePath("lancio.CSV");
  writeFile(path, "vecchio");
  ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);

  {
    core::OutputFile file(path);
    ASSERT_TRUE(file.open()) << file.error().toStdString();
    EXPECT_EQ(QFileInfo(file.temporaryPath()).absolutePath(), dir.path()) << "beside the target";
    ASSERT_TRUE(file.write("riga 1\r\n"));
    EXPECT_EQ(contents(path), "vecchio") << "nothing replaced before the commit";
    // Dropped without a commit: the older file stays, the temporary goes.
  }
  EXPECT_EQ(contents(path), "vecchio");
  EXPECT_EQ(entries(dir.path()), QStringList{"lancio.CSV"});

  core::OutputFile file(path);
  ASSERT_TRUE(file.open());
  const QByteArray big(200 * 1024, 'x');  // more than one buffer
  ASSERT_TRUE(file.write("inizio;") && file.write(big));
  ASSERT_TRUE(file.commit()) << file.error().toStdString();
  EXPECT_EQ(contents(path), "inizio;" + big);
  EXPECT_EQ(entries(dir.path()), QStringList{"lancio.CSV"});
  struct stat info = {};
  ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u) << "the permissions of the file it replaced";

  // Past a file-size limit (a full disk alike) the writes fail instead of
  // ending the program, and the older file is neither deleted nor cut.
  writeFile(path, "vecchio");
  {
    const FileSizeLimit limit(16 * 1024);
    core::OutputFile limited(path);
    ASSERT_TRUE(limited.open());
    bool written = true;
    for (int i = 0; i < 8 && written; ++i) written = limited.write(QByteArray(32 * 1024, 'y'));
    EXPECT_FALSE(written && limited.commit());
    EXPECT_FALSE(limited.error().isEmpty());
  }
  EXPECT_EQ(contents(path), "vecchio");
  EXPECT_EQ(entries(dir.path()), QStringList{"lancio.CSV"});

  // A folder that does not exist, or a folder in the file's place.
  core::OutputFile nowhere(dir.filePath("manca/x.CSV"));
  EXPECT_FALSE(nowhere.open());
  EXPECT_FALSE(nowhere.commit());
  ASSERT_TRUE(QDir(dir.path()).mkdir("cartella"));
  core::OutputFile folder(dir.filePath("cartella"));
  EXPECT_FALSE(folder.open() && folder.write("x") && folder.commit());
  EXPECT_EQ(entries(dir.path()), (QStringList{"cartella", "lancio.CSV"}));

  // The saved statements of failed operations are written the same way.
  const FileSizeLimit limit(4);
  EXPECT_FALSE(core::writeTextLines(path, {"INSERT INTO LANCISTAMPA", "VALUES (1)"}));
  EXPECT_EQ(contents(path), "vecchio");
}

// A child process that opens the output file, writes to it and waits on a
// pipe; the parent learns the temporary file's name when it is on disk.
struct WritingChild {
  pid_t pid = -1;
  int release = -1;
  QString temporaryPath;
};

WritingChild startWritingChild(const QString& path) {
  int ready[2];
  int hold[2];
  if (::pipe(ready) != 0 || ::pipe(hold) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(ready[0]);
    ::close(hold[1]);
    core::OutputFile file(path);
    if (file.open() && file.write("parziale")) {
      const QByteArray name = QFile::encodeName(file.temporaryPath()) + '\n';
      if (::write(ready[1], name.constData(), name.size()) < 0) ::_exit(2);
    }
    char byte;
    while (::read(hold[0], &byte, 1) < 0 && errno == EINTR) {
    }
    file.discard();
    ::_exit(0);
  }
  ::close(ready[1]);
  ::close(hold[0]);
  WritingChild child{pid, hold[1], {}};
  QByteArray name;
  char byte;
  while (::read(ready[0], &byte, 1) == 1 && byte != '\n') name += byte;
  ::close(ready[0]);
  child.temporaryPath = QFile::decodeName(name);
  return child;
}

TEST(OutputFile, TemporariesOfKilledRunsGoWithTheNextWriteAndThoseOfLiveRunsStay) {
  QTemporaryDir dir;
  const QString path = dir.filePath("lancio.pdf");
  writeFile(path, "vecchio");
  writeFile(dir.filePath("altro.pdf"), "altro");

  WritingChild killed = startWritingChild(path);
  WritingChild alive = startWritingChild(path);
  WritingChild otherTarget = startWritingChild(dir.filePath("altro.pdf"));
  ASSERT_GT(killed.pid, 0);
  ASSERT_GT(alive.pid, 0);
  ASSERT_GT(otherTarget.pid, 0);
  EXPECT_EQ(QFileInfo(killed.temporaryPath).fileName(),
            ".lancio.pdf.tmp" + QString::number(killed.pid));
  ::kill(killed.pid, SIGKILL);
  ::kill(otherTarget.pid, SIGKILL);
  ::waitpid(killed.pid, nullptr, 0);
  ::waitpid(otherTarget.pid, nullptr, 0);
  ASSERT_TRUE(QFile::exists(killed.temporaryPath)) << "a kill leaves the temporary file";
  // One of this process's number that it did not open: left by an earlier
  // process that had the same number.
  const QString reused = dir.filePath(".lancio.pdf.tmp" + QString::number(::getpid()) + "-7");
  writeFile(reused, "prima");

  core::OutputFile file(path);
  ASSERT_TRUE(file.open());
  ASSERT_TRUE(file.write("nuovo") && file.commit());
  EXPECT_EQ(contents(path), "nuovo");
  EXPECT_FALSE(QFile::exists(killed.temporaryPath));
  EXPECT_FALSE(QFile::exists(reused));
  EXPECT_TRUE(QFile::exists(alive.temporaryPath)) << "a run still writing keeps its file";
  EXPECT_TRUE(QFile::exists(otherTarget.temporaryPath)) << "only this target's are looked at";

  ::close(alive.release);
  ::close(killed.release);
  ::close(otherTarget.release);
  ::waitpid(alive.pid, nullptr, 0);
  EXPECT_FALSE(QFile::exists(alive.temporaryPath)) << "its own run discards it";
}

}  // namespace
