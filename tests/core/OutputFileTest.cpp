#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

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

}  // namespace
