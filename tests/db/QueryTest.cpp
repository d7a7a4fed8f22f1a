#include <QDate>
#include <QDateTime>

#include "core/SqlText.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "support/FirebirdFixture.h"

namespace {

class QueryTest : public FirebirdTest {
 protected:
  void SetUp() override {
    database_ = createDatabase();
    execute(*database_,
            {"CREATE TABLE ART (CODICE VARCHAR(20) NOT NULL PRIMARY KEY, DESCR VARCHAR(60), "
             "SIGLA CHAR(4), QTA INTEGER, PICCOLO SMALLINT, GRANDE BIGINT, PREZZO NUMERIC(15,2), "
             "PESO DOUBLE PRECISION, DATA DATE, ORA TIME, MOMENTO TIMESTAMP, NOTE BLOB SUB_TYPE 1, "
             "FOTO BLOB SUB_TYPE 0, ATTIVO BOOLEAN)",
             "CREATE GENERATOR GEN_ART"});
  }
  std::unique_ptr<db::Database> database_;
};

TEST_F(QueryTest, RoundTripsEveryColumnKindThroughWin1252Text) {
  const QString description = QString::fromUtf8("Giacca L'ABITO € à´");
  execute(*database_,
          {"INSERT INTO ART VALUES ('A1','" + core::sqlValue(description) +
               "','XY',7,-3,9000000000,1234.56,2.5,'12/31/2024','13:45:10','03/02/2025 08:09:10',"
               "'nota lunga " +
               QString::fromUtf8("perché") + "','bin',TRUE)",
           "INSERT INTO ART (CODICE) VALUES ('A2')"});

  db::Transaction transaction(*database_);
  db::Query query(*database_, transaction);
  query.sql << "SELECT A.*, QTA*2 AS DOPPIO FROM ART A"
            << "ORDER BY CODICE";
  query.open();
  ASSERT_FALSE(query.isEof());
  EXPECT_EQ(query.value("DESCR").toString(), description);
  EXPECT_EQ(query.value("SIGLA").toString(), "XY") << "CHAR padding is trimmed";
  EXPECT_EQ(query.value("QTA").toLongLong(), 7);
  EXPECT_EQ(query.value("PICCOLO").toLongLong(), -3);
  EXPECT_EQ(query.value("GRANDE").toLongLong(), 9000000000LL);
  EXPECT_DOUBLE_EQ(query.value("PREZZO").toDouble(), 1234.56);
  EXPECT_DOUBLE_EQ(query.value("PESO").toDouble(), 2.5);
  EXPECT_EQ(query.value("DATA").toDate(), QDate(2024, 12, 31));
  EXPECT_EQ(query.text("DATA"), "31/12/2024");
  EXPECT_EQ(query.value("ORA").toTime(), QTime(13, 45, 10));
  EXPECT_EQ(query.value("MOMENTO").toDateTime(), QDateTime(QDate(2025, 3, 2), QTime(8, 9, 10)));
  EXPECT_EQ(query.value("NOTE").toString(), QString::fromUtf8("nota lunga perché"));
  EXPECT_EQ(query.value("FOTO").toByteArray(), QByteArray("bin"));
  EXPECT_TRUE(query.value("ATTIVO").toBool());
  EXPECT_EQ(query.value("DOPPIO").toLongLong(), 14);

  const auto type = [&](const char* name) { return query.field(query.fieldIndex(name)).type; };
  EXPECT_EQ(type("DESCR"), db::FieldType::String);
  EXPECT_EQ(type("QTA"), db::FieldType::Integer);
  EXPECT_EQ(type("PICCOLO"), db::FieldType::SmallInt);
  EXPECT_EQ(type("GRANDE"), db::FieldType::LargeInt);
  EXPECT_EQ(type("PREZZO"), db::FieldType::Bcd);
  EXPECT_EQ(type("PESO"), db::FieldType::Float);
  EXPECT_EQ(type("DATA"), db::FieldType::Date);
  EXPECT_EQ(type("ORA"), db::FieldType::Time);
  EXPECT_EQ(type("MOMENTO"), db::FieldType::DateTime);
  EXPECT_EQ(type("NOTE"), db::FieldType::Memo);
  EXPECT_EQ(type("FOTO"), db::FieldType::Blob);
  const db::FieldInfo& descr = query.field(query.fieldIndex("DESCR"));
  EXPECT_EQ(descr.size, 60);
  EXPECT_EQ(descr.relation, "ART");
  EXPECT_EQ(descr.origin, "ART.DESCR");
  EXPECT_EQ(query.field(query.fieldIndex("PREZZO")).scale, 2);
  EXPECT_FALSE(query.field(query.fieldIndex("CODICE")).nullable);
  EXPECT_TRUE(query.field(query.fieldIndex("DOPPIO")).origin.isEmpty())
      << "an expression has no source column";

  query.next();
  ASSERT_FALSE(query.isEof());
  EXPECT_TRUE(query.value("DESCR").isNull());
  EXPECT_EQ(query.text("DESCR"), "");
  query.next();
  EXPECT_TRUE(query.isEof());
  EXPECT_THROW(query.value("NONCE"), db::DbError);
}

TEST_F(QueryTest, FetchesOnDemandAndForwardOnlyKeepsOneRow) {
  QStringList inserts;
  for (int i = 0; i < 250; ++i)
    inserts << QStringLiteral("INSERT INTO ART (CODICE,QTA) VALUES ('C%1',%2)")
                   .arg(i, 3, 10, QChar('0'))
                   .arg(i);
  execute(*database_, inserts);

  db::Transaction transaction(*database_);
  db::Query buffered(*database_, transaction);
  buffered.sql << "SELECT CODICE, QTA FROM ART ORDER BY CODICE";
  buffered.open();
  EXPECT_EQ(buffered.rowCount(), 1) << "opening reads only the first row";
  EXPECT_TRUE(buffered.canFetchMore());
  EXPECT_EQ(buffered.fetchMore(99), 99);
  EXPECT_EQ(buffered.rowCount(), 100);
  EXPECT_EQ(buffered.value(99, 1).toLongLong(), 99);
  EXPECT_EQ(buffered.recordCount(), 250);
  EXPECT_FALSE(buffered.canFetchMore());
  buffered.first();
  EXPECT_EQ(buffered.value("CODICE").toString(), "C000");

  db::Query forward(*database_, transaction);
  forward.setForwardOnly(true);
  forward.sql << "SELECT QTA FROM ART ORDER BY CODICE";
  forward.open();
  qint64 sum = 0;
  int rows = 0;
  for (; !forward.isEof(); forward.next(), ++rows) {
    sum += forward.value("QTA").toLongLong();
    EXPECT_EQ(forward.rowCount(), 1);
  }
  EXPECT_EQ(rows, 250);
  EXPECT_EQ(sum, 249 * 250 / 2);
  EXPECT_THROW(forward.first(), db::DbError);
}

TEST_F(QueryTest, ExecReportsAffectedRowsAndErrorsCarryTheServerMessage) {
  execute(*database_,
          {"INSERT INTO ART (CODICE) VALUES ('X1')", "INSERT INTO ART (CODICE) VALUES ('X2')"});
  db::Transaction transaction(*database_);
  db::Query query(*database_, transaction);
  query.sql << "UPDATE ART SET QTA=1";
  query.execSql();
  EXPECT_EQ(query.rowsAffected(), 2);

  query.sql.clear();
  query.sql << "INSERT INTO ART (CODICE) VALUES ('X1')";
  try {
    query.execSql();
    FAIL() << "a duplicate key must fail";
  } catch (const db::DbError& error) {
    EXPECT_TRUE(error.text().contains("PRIMARY", Qt::CaseInsensitive) ||
                error.text().contains("unique", Qt::CaseInsensitive))
        << error.text().toStdString();
    EXPECT_FALSE(error.isLockConflict());
  }
  query.sql = QStringList{"SELECT * FROM NESSUNA"};
  EXPECT_THROW(query.open(), db::DbError);
  query.sql = QStringList{"DELETE FROM ART"};
  EXPECT_THROW(query.open(), db::DbError) << "open() is for statements that return rows";
}

TEST_F(QueryTest, AnOpenWhoseFirstFetchFailsLeavesTheQueryClosed) {
  execute(*database_, {"INSERT INTO ART (CODICE, QTA) VALUES ('A1', 1)"});
  db::Transaction transaction(*database_);
  db::Query query(*database_, transaction);
  int opened = 0;
  query.setAfterOpen([&](db::DataSet&) { ++opened; });
  // The value only fails to convert when the first row is fetched.
  query.sql = QStringList{"SELECT * FROM ART", "WHERE(ART.QTA >= 'x')"};
  EXPECT_THROW(query.open(), db::DbError);
  EXPECT_FALSE(query.isActive());
  EXPECT_FALSE(query.canFetchMore());
  EXPECT_EQ(query.rowCount(), 0);
  EXPECT_EQ(opened, 0);

  // The same query opens normally afterwards.
  query.sql = QStringList{"SELECT * FROM ART"};
  query.open();
  EXPECT_TRUE(query.isActive());
  EXPECT_EQ(query.recordCount(), 1);
}

TEST_F(QueryTest, GeneratorsAndTableLookups) {
  db::Transaction transaction(*database_);
  const qint64 first = db::generatorValue(transaction, "GEN_ART");
  EXPECT_EQ(db::generatorValue(transaction, "GEN_ART"), first + 1);
  EXPECT_EQ(db::generatorValue(transaction, "GEN_ART", 0), first + 1);
  EXPECT_THROW(db::generatorValue(transaction, "GEN_ART;DROP"), std::invalid_argument);
  EXPECT_TRUE(db::tableExists(transaction, "art"));
  EXPECT_FALSE(db::tableExists(transaction, "NESSUNA"));
}

TEST_F(QueryTest, HooksRunAroundOpenAndCanBeChained) {
  db::Transaction transaction(*database_);
  db::Query query(*database_, transaction);
  QStringList calls;
  query.setBeforeOpen([&](db::DataSet&) { calls << "displaced"; });
  const db::DataSet::Hook displaced = query.setBeforeOpen([&](db::DataSet&) {});
  ASSERT_TRUE(displaced);
  query.setBeforeOpen([&, displaced](db::DataSet& set) {
    displaced(set);
    calls << "own";
    query.sql = QStringList{"SELECT COUNT(*) FROM ART"};
  });
  query.setAfterOpen([&](db::DataSet& set) { calls << QString::number(set.rowCount()); });
  query.sql << "SELECT * FROM NESSUNA";
  query.open();
  EXPECT_EQ(calls, (QStringList{"displaced", "own", "1"}));
}

}  // namespace

#include "db/Table.h"

namespace {

TEST_F(QueryTest, ATableSourceReadsTheWholeTableAndRefusesOddNames) {
  execute(*database_, {"INSERT INTO ART (CODICE,QTA) VALUES ('T1',1)",
                       "INSERT INTO ART (CODICE,QTA) VALUES ('T2',2)"});
  db::Transaction transaction(*database_);
  db::Table table(*database_, transaction, "ART");
  table.open();
  EXPECT_EQ(table.recordCount(), 2);
  EXPECT_EQ(table.field(0).origin, "ART.CODICE");
  EXPECT_THROW(table.setTableName("ART WHERE 1=0"), std::invalid_argument);
}

}  // namespace
