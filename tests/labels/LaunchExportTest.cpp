#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "db/Query.h"
#include "db/Transaction.h"
#include "labels/LaunchExport.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"

namespace {

class LaunchExportTest : public ::testing::Test {
 protected:
  LaunchExportTest() {
    host_.openArchive(archive_);
    // Launch 900: three labels, exported before, one with an order. Launch 901:
    // one label without order, never exported.
    runStatement(archive_,
                 "INSERT INTO LANCISTAMPA (ID,DATA,ESPORTATO) VALUES (900,'03/01/2024','1')");
    runStatement(archive_, "INSERT INTO LANCISTAMPA (ID,DATA) VALUES (901,'03/02/2024')");
    runStatement(archive_,
                 "INSERT INTO ETICHETTE (ID,CODICE,DESCRIZIONE,ORDINE,CODICE_EAN,IDLANCIOSTAMPA) "
                 "VALUES (9001,'C1','GILET ALL\xc2\xb4INGLESE','ORD1','8001234567890',900)");
    runStatement(archive_,
                 "INSERT INTO ETICHETTE (ID,CODICE,DESCRIZIONE,IDLANCIOSTAMPA) "
                 "VALUES (9002,'C2','uno;due',900)");
    runStatement(archive_,
                 "INSERT INTO ETICHETTE (ID,CODICE,IDLANCIOSTAMPA) VALUES (9003,'C3',900)");
    runStatement(archive_,
                 "INSERT INTO ETICHETTE (ID,CODICE,IDLANCIOSTAMPA) VALUES (9004,'C4',901)");
    // Launch 902: not exported, one label with an order.
    runStatement(archive_,
                 "INSERT INTO LANCISTAMPA (ID,DATA,ESPORTATO) VALUES (902,'03/03/2024','0')");
    runStatement(
        archive_,
        "INSERT INTO ETICHETTE (ID,CODICE,ORDINE,IDLANCIOSTAMPA) VALUES (9005,'C5','O2',902)");
  }
  QStringList listed(bool hideExported, bool hideWithoutOrder) {
    db::Transaction transaction(archive_);
    db::Query query(archive_, transaction);
    query.sql = labels::launchListStatement(hideExported, hideWithoutOrder);
    QStringList ids;
    for (query.open(); !query.isEof(); query.next()) ids << query.text("ID");
    ids.sort();
    return ids;
  }
  HostInstallation host_;
  db::Database archive_;
};

TEST_F(LaunchExportTest, TheListFollowsBothCheckBoxes) {
  EXPECT_EQ(
      labels::launchListStatement(true, true),
      (QStringList{"SELECT B.ID,B.DATA,B.ESPORTATO,B.DATAEXPORT",
                   "FROM ETICHETTE A LEFT JOIN LANCISTAMPA B ON", "(A.IDLANCIOSTAMPA=B.ID)",
                   "WHERE (B.ID IS NOT NULL)", "AND((B.ESPORTATO='0')OR(B.ESPORTATO IS NULL))",
                   "AND(A.ORDINE IS NOT NULL)", "GROUP BY B.ID,B.DATA,B.ESPORTATO,B.DATAEXPORT"}));
  // The demo archive holds launch 1: ten labels without orders, not exported.
  EXPECT_EQ(listed(false, false), (QStringList{"1", "900", "901", "902"}));
  EXPECT_EQ(listed(true, false), (QStringList{"1", "901", "902"}));
  EXPECT_EQ(listed(false, true), (QStringList{"900", "902"}));
  EXPECT_EQ(listed(true, true), (QStringList{"902"}));
}

TEST_F(LaunchExportTest, ALaunchOfThreeLabelsGivesThreeLinesByteForByte) {
  QTemporaryDir dir;
  const QString file = dir.filePath(labels::csvFileName("lancio.txt"));
  db::Transaction transaction(archive_);
  EXPECT_EQ(labels::writeLaunchCsv(archive_, transaction, 900, file), 3);
  QFile written(file);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  const QByteArray expected =
      "9001;;C1;;GILET ALL\xb4INGLESE;;ORD1;;;;;;;;;8001234567890;900;\r\n"
      "9002;;C2;;uno;due;;;;;;;;;;;;900;\r\n"
      "9003;;C3;;;;;;;;;;;;;;900;\r\n";
  EXPECT_EQ(written.readAll(), expected)
      << "no header, no quoting: a \";\" in a value splits its field";
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"lancio.CSV"});
}

TEST_F(LaunchExportTest, FileNamesGetTheCsvExtension) {
  EXPECT_EQ(labels::csvFileName("/tmp/lancio.TXT"), "/tmp/lancio.CSV");
  EXPECT_EQ(labels::csvFileName("/tmp/lancio"), "/tmp/lancio.CSV");
  EXPECT_EQ(labels::csvFileName("/tmp/lancio.2024.csv"), "/tmp/lancio.2024.CSV");
  EXPECT_EQ(labels::csvFileName("/tmp/cartella.x/lancio"), "/tmp/cartella.x/lancio.CSV");
}

TEST_F(LaunchExportTest, AFileThatCannotBeWrittenLeavesNothingBehind) {
  QTemporaryDir dir;
  db::Transaction transaction(archive_);
  EXPECT_THROW(labels::writeLaunchCsv(archive_, transaction, 900, dir.filePath("manca/x.CSV")),
               labels::ExportFileError);
  EXPECT_TRUE(
      QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());

  // An older export of that name stays as it was when the new one fails.
  const QString file = dir.filePath("x.CSV");
  QFile old(file);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("vecchio");
  old.close();
  archive_.detach();
  db::Database closed;
  db::Transaction orphan(closed);
  EXPECT_THROW(labels::writeLaunchCsv(closed, orphan, 900, file), db::DbError);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "vecchio");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"x.CSV"});
}

TEST_F(LaunchExportTest, MarkingAgainMovesTheExportDate) {
  EXPECT_EQ(labels::markExportedStatement(901, QDate(2024, 3, 7)),
            (QStringList{"UPDATE LANCISTAMPA SET", "ESPORTATO='1',", "DATAEXPORT='03/07/2024'",
                         "WHERE (ID='901')"}));
  for (const QDate& date : {QDate(2024, 3, 7), QDate(2024, 4, 1)}) {
    db::Transaction transaction(archive_);
    db::Query update(archive_, transaction);
    update.sql = labels::markExportedStatement(901, date);
    update.execSql();
    transaction.commit();
  }
  EXPECT_EQ(readOne(archive_, "SELECT ESPORTATO||' '||DATAEXPORT FROM LANCISTAMPA WHERE ID=901"),
            "1 2024-04-01");
}

}  // namespace
