#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

#include "db/Database.h"
#include "db/Query.h"
#include "host/HostProgramRun.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"
#include "support/TestFiles.h"

namespace {

using testfiles::contents;
using testfiles::entries;
using testfiles::writeFile;

// A folder on a tmpfs of a few pages: a disk that fill() fills to the last
// byte. Mounting needs root, which CI has.
class SmallDisk {
 public:
  SmallDisk() {
    const QByteArray path = QFile::encodeName(dir_.path());
    mounted_ = ::geteuid() == 0 &&
               ::mount("tmpfs", path.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k") == 0;
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(QFile::encodeName(dir_.path()).constData(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  QString filePath(const QString& name) const { return dir_.filePath(name); }
  QString path() const { return dir_.path(); }
  // Takes what space is left, in a file named "riempitivo".
  void fill() const {
    QFile filler(filePath("riempitivo"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
    const QByteArray page(4096, 'x');
    while (filler.write(page) == page.size()) {
    }
    for (int tail = 2048; tail > 0; tail /= 2) filler.write(page.left(tail));
  }

 private:
  QTemporaryDir dir_;
  bool mounted_ = false;
};

class PrintCommandsTest : public ::testing::Test {
 protected:
  QString value(const QString& statement) {
    db::Database database;
    host_.openArchive(database);
    return readOne(database, statement);
  }
  HostInstallation host_;
};

TEST_F(PrintCommandsTest, PrintLaunchesToPdfAndExportWritesTheLaunch) {
  const QString pdf = host_.native("lancio.pdf");
  const CommandRun printed =
      runOrbelan({"print", "--user", "1", "--ids", "70,68,69", "--exclude-serial", "--description",
                  "Batch d'inverno", "--pdf", pdf});
  ASSERT_EQ(printed.exitCode, 0) << printed.errors.toStdString();
  EXPECT_TRUE(printed.errors.contains("3 of 3 labels printed")) << printed.errors.toStdString();
  EXPECT_GT(QFileInfo(pdf).size(), 0);
  const QString launch = value("SELECT MAX(ID) FROM LANCISTAMPA");
  EXPECT_EQ(value("SELECT COUNT(*) FROM ETICHETTE WHERE IDLANCIOSTAMPA=" + launch), "3");
  EXPECT_EQ(value("SELECT NOTE FROM LANCISTAMPA WHERE ID=" + launch),
            QString::fromUtf8("Batch d´inverno"));

  const CommandRun again = runOrbelan({"print", "--user", "1", "--ids", "70", "--description", "",
                                       "--pdf", host_.native("di-nuovo.pdf")});
  EXPECT_EQ(again.exitCode, 1) << "a label already printed is not printed twice";
  EXPECT_TRUE(again.errors.contains("label 70 was already printed in launch " + launch))
      << again.errors.toStdString();

  const CommandRun exported =
      runOrbelan({"export-launch", "--user", "1", "--launch", launch, host_.native("lancio.txt")});
  ASSERT_EQ(exported.exitCode, 0) << exported.errors.toStdString();
  QFile csv(host_.native("lancio.CSV"));
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  EXPECT_EQ(csv.readAll().count("\r\n"), 3);
  EXPECT_EQ(value("SELECT ESPORTATO FROM LANCISTAMPA WHERE ID=" + launch), "1");

  EXPECT_EQ(runOrbelan(
                {"print", "--user", "1", "--all", "--ids", "1", "--description", "x", "--pdf", pdf})
                .exitCode,
            2);
  EXPECT_EQ(runOrbelan({"export-launch", "--user", "1", "--launch", launch,
                        host_.native("manca/lancio.csv")})
                .exitCode,
            1);
}

TEST_F(PrintCommandsTest, NothingPrintedOrExportedLeavesAnOlderFileOfTheNameAsItWas) {
  const QString csv = host_.native("keep.CSV");
  writeFile(csv, "vecchio");
  const CommandRun missing =
      runOrbelan({"export-launch", "--user", "1", "--launch", "999", host_.native("keep.csv")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(missing.errors.contains("launch 999 has no labels")) << missing.errors.toStdString();
  EXPECT_EQ(contents(csv), "vecchio");

  const QString printed =
      value("SELECT FIRST 1 ID FROM ETICHETTE WHERE IDLANCIOSTAMPA IS NOT NULL");
  const QString pdf = host_.native("keep.pdf");
  writeFile(pdf, "vecchio");
  const CommandRun again =
      runOrbelan({"print", "--user", "1", "--ids", printed, "--description", "x", "--pdf", pdf});
  EXPECT_EQ(again.exitCode, 1) << again.errors.toStdString();
  EXPECT_EQ(contents(pdf), "vecchio");
}

TEST_F(PrintCommandsTest, AFullDiskFailsThePrintAndTheExportAndKeepsTheOlderFiles) {
  SmallDisk disk;
  if (!disk.mounted()) {
    if (!qEnvironmentVariable("CI").isEmpty()) ADD_FAILURE() << "CI run that cannot mount a tmpfs";
    GTEST_SKIP() << "mounting a small tmpfs needs root";
  }
  writeFile(disk.filePath("keep.pdf"), "vecchio");
  writeFile(disk.filePath("keep.CSV"), "vecchio");
  disk.fill();
  const QString launches = value("SELECT COUNT(*) FROM LANCISTAMPA");

  const CommandRun printed =
      runOrbelan({"print", "--user", "1", "--ids", "70,68,69", "--description", "pieno", "--pdf",
                  disk.filePath("keep.pdf")});
  EXPECT_EQ(printed.exitCode, 1) << printed.errors.toStdString();
  EXPECT_TRUE(printed.errors.contains("nothing printed")) << printed.errors.toStdString();
  EXPECT_EQ(contents(disk.filePath("keep.pdf")), "vecchio");
  EXPECT_EQ(value("SELECT COUNT(*) FROM ETICHETTE WHERE ID IN (68,69,70) AND "
                  "IDLANCIOSTAMPA IS NOT NULL"),
            "0");
  EXPECT_EQ(value("SELECT COUNT(*) FROM LANCISTAMPA"), launches);

  const CommandRun exported =
      runOrbelan({"export-launch", "--user", "1", "--launch", "1", disk.filePath("keep.csv")});
  EXPECT_EQ(exported.exitCode, 1) << exported.errors.toStdString();
  EXPECT_TRUE(exported.errors.contains("Impossibile scrivere il file"))
      << exported.errors.toStdString();
  EXPECT_EQ(contents(disk.filePath("keep.CSV")), "vecchio");
  EXPECT_EQ(value("SELECT COALESCE(ESPORTATO,'0') FROM LANCISTAMPA WHERE ID=1"), "0");
  EXPECT_EQ(entries(disk.path()), (QStringList{"keep.CSV", "keep.pdf", "riempitivo"}));
}

TEST_F(PrintCommandsTest, ATerminationSignalDuringAPrintUndoesTheLaunchAndLeavesNoFile) {
  {
    db::Database database;
    host_.openArchive(database);
    // Enough labels for the print to last a while.
    runStatement(database,
                 "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 30000) DO BEGIN "
                 "INSERT INTO ETICHETTE (ID,CODICE,DATIPRODOTTO,DESCRIZIONE) VALUES "
                 "(100000+:I,'SEGNALE'||:I,'MOD.1','GIACCA - BLU'); I = I + 1; END END");
  }
  const QString unprinted = value("SELECT COUNT(*) FROM ETICHETTE WHERE IDLANCIOSTAMPA IS NULL");
  const QString launches = value("SELECT COUNT(*) FROM LANCISTAMPA");
  QTemporaryDir out;
  const QString pdf = out.filePath("keep.pdf");
  writeFile(pdf, "vecchio");

  QProcess process;
  startOrbelan(process,
               {"print", "--user", "1", "--all", "--description", "interrotto", "--pdf", pdf});
  ASSERT_TRUE(process.waitForStarted());
  // The labels are being printed once the PDF is being written.
  const auto writing = [&] { return entries(out.path()).size() > 1 || QFileInfo(pdf).size() != 7; };
  QDeadlineTimer deadline(60000);
  while (!writing() && process.state() == QProcess::Running && !deadline.hasExpired())
    QThread::msleep(10);
  ASSERT_EQ(process.state(), QProcess::Running) << process.readAllStandardError().toStdString();
  QThread::msleep(300);
  ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
  ASSERT_TRUE(process.waitForFinished(60000));
  const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 1) << errors.toStdString();
  EXPECT_TRUE(errors.contains("stopped by a termination signal")) << errors.toStdString();
  EXPECT_EQ(contents(pdf), "vecchio");
  EXPECT_EQ(entries(out.path()), QStringList{"keep.pdf"}) << "no partial file";
  EXPECT_EQ(value("SELECT COUNT(*) FROM ETICHETTE WHERE IDLANCIOSTAMPA IS NULL"), unprinted);
  EXPECT_EQ(value("SELECT COUNT(*) FROM LANCISTAMPA"), launches);
}

TEST_F(PrintCommandsTest, WhatIsNotPrintedAsAskedIsToldWithAFailingStatus) {
  const QString pdf = host_.native("lancio.pdf");
  const CommandRun missing =
      runOrbelan({"print", "--user", "1", "--ids", "70,99999", "--description", "", "--pdf", pdf});
  EXPECT_EQ(missing.exitCode, 1) << missing.errors.toStdString();
  EXPECT_TRUE(missing.errors.contains("label 99999 does not exist"))
      << missing.errors.toStdString();
  EXPECT_TRUE(missing.errors.contains("1 of 1 labels printed")) << missing.errors.toStdString();
  EXPECT_NE(value("SELECT IDLANCIOSTAMPA FROM ETICHETTE WHERE ID=70"), "");

  const QString next = value("SELECT MIN(ID) FROM ETICHETTE WHERE IDLANCIOSTAMPA IS NULL");
  const CommandRun tooLong = runOrbelan(
      {"print", "--user", "1", "--ids", next, "--description", QString(65, 'd'), "--pdf", pdf});
  EXPECT_EQ(tooLong.exitCode, 2);
  EXPECT_TRUE(tooLong.errors.contains("at most 64")) << tooLong.errors.toStdString();
  EXPECT_EQ(value("SELECT IDLANCIOSTAMPA FROM ETICHETTE WHERE ID=" + next), "");

  // A barcode that cannot be encoded: the label prints without it, as the
  // window says.
  db::Database database;
  host_.openArchive(database);
  runStatement(database, "UPDATE ETICHETTE SET CODICE_EAN='12345ABCDE123' WHERE ID=" + next);
  database.detach();
  const CommandRun unencodable = runOrbelan(
      {"print", "--user", "1", "--ids", next, "--ean", "--description", "", "--pdf", pdf});
  EXPECT_EQ(unencodable.exitCode, 1) << unencodable.errors.toStdString();
  EXPECT_TRUE(unencodable.errors.contains(
      "warning: Alcuni codici a barre o immagini non sono stati stampati:\n"))
      << unencodable.errors.toStdString();
  EXPECT_TRUE(unencodable.errors.contains("12345ABCDE123")) << unencodable.errors.toStdString();

  // A main database that is not a database.
  QFile archive(db::Database::connectionName(host_.archive()));
  ASSERT_TRUE(archive.open(QIODevice::WriteOnly | QIODevice::Truncate));
  archive.write(QByteArray(8192, 'x'));
  archive.close();
  const CommandRun broken =
      runOrbelan({"print", "--user", "1", "--ids", "72", "--description", "", "--pdf", pdf});
  EXPECT_EQ(broken.exitCode, 1);
  EXPECT_TRUE(broken.errors.contains("cannot open the main database " + host_.archive() + ": "))
      << broken.errors.toStdString();
  EXPECT_TRUE(broken.errors.contains("not a valid database")) << broken.errors.toStdString();
}

}  // namespace
