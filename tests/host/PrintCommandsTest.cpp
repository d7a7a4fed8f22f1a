#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "db/Database.h"
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
  EXPECT_TRUE(again.errors.contains("label 70 was printed by another launch"))
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

}  // namespace
