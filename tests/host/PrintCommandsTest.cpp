#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "db/Database.h"
#include "db/Query.h"
#include "host/HostProgramRun.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"

namespace {

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
