#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>

#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "host/HostProgramRun.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"

namespace {

CommandRun importCommand(const QStringList& arguments) {
  return runOrbelan(QStringList{"import"} + arguments);
}

class ImportCommandTest : public ::testing::Test {
 protected:
  void run(const QString& statement) {
    db::Database database;
    host_.openArchive(database);
    runStatement(database, statement);
  }
  QString value(const QString& statement) {
    db::Database database;
    host_.openArchive(database);
    return readOne(database, statement);
  }
  QString writeFile(const QString& name, const QByteArray& bytes) {
    QFile file(host_.native(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }

  HostInstallation host_;
};

TEST_F(ImportCommandTest, ImportsTheWholeFileAfterUpgradingTheTableOrNothing) {
  run("ALTER TABLE ETICHETTE DROP CODICE_EAN");
  const QString labels = value("SELECT COUNT(*) FROM ETICHETTE");

  const CommandRun imported = importCommand(
      {"--user", "1", writeFile("nuove.txt", "P1;D1;N001\r\nP2;D2;N002;8001234567890\r\n")});
  EXPECT_EQ(imported.exitCode, 0) << imported.errors.toStdString();
  EXPECT_TRUE(imported.errors.contains(
      "warning: Attenzione: tabella da aggiornare. I campi mancanti verranno aggiunti "
      "automaticamente"));
  EXPECT_TRUE(imported.errors.contains("information: Etichette importate"));
  EXPECT_TRUE(imported.errors.contains("Imported 2 labels from"));
  EXPECT_EQ(value("SELECT COUNT(*) FROM ETICHETTE").toInt(), labels.toInt() + 2);
  EXPECT_EQ(value("SELECT CODICE_EAN FROM ETICHETTE WHERE CODICE='N002'"), "8001234567890");

  const CommandRun failed = importCommand(
      {"--user", "1", writeFile("errate.txt", "P;D;N003\r\nP;D;" + QByteArray(41, 'X') + "\r\n")});
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_TRUE(failed.errors.contains("error: Errore interno di INSERT: controllare il file: \"" +
                                     host_.binDir() + "GestEticForm.ButtonCarica.sql\""))
      << failed.errors.toStdString();
  EXPECT_TRUE(failed.errors.contains("line 2, field 3 (CODICE) was refused by the database: "))
      << failed.errors.toStdString();
  EXPECT_TRUE(failed.errors.contains("string right truncation")) << failed.errors.toStdString();
  EXPECT_TRUE(failed.errors.contains("the failed statement is in " +
                                     host_.native("bin/GestEticForm.ButtonCarica.sql")));
  EXPECT_TRUE(QFile::exists(host_.native("bin/GestEticForm.ButtonCarica.sql")));
  EXPECT_EQ(value("SELECT COUNT(*) FROM ETICHETTE").toInt(), labels.toInt() + 2);
  EXPECT_EQ(value("SELECT COUNT(*) FROM ETICHETTE WHERE CODICE='N003'"), "0");
}

TEST_F(ImportCommandTest, WrongRequestsFailWithAReason) {
  const QString file = writeFile("nuove.txt", "P1;D1;N001\r\n");
  const CommandRun noUser = importCommand({file});
  EXPECT_EQ(noUser.exitCode, 2);
  EXPECT_TRUE(noUser.errors.contains("orbelan import --user N FILE"));
  EXPECT_EQ(importCommand({"--user", "uno", file}).exitCode, 2);

  const CommandRun unknownUser = importCommand({"--user", "99", file});
  EXPECT_EQ(unknownUser.exitCode, 1);
  EXPECT_TRUE(unknownUser.errors.contains("there is no user 99"))
      << unknownUser.errors.toStdString();

  const CommandRun missing = importCommand({"--user", "1", host_.native("nessuno.txt")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(missing.errors.contains("cannot read the file"));
  EXPECT_EQ(value("SELECT COUNT(*) FROM ETICHETTE WHERE CODICE='N001'"), "0");
}

}  // namespace
