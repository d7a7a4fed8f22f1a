#include <QDate>
#include <QDateTime>
#include <QTime>

#include "db/PreparedStatement.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "support/FirebirdFixture.h"

namespace {

class PreparedStatementTest : public FirebirdTest {
 protected:
  void SetUp() override {
    database_ = createDatabase();
    execute(*database_, {"CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(8), "
                         "GIORNO DATE, PREZZO NUMERIC(9,2))",
                         "CREATE GENERATOR G"});
  }
  std::unique_ptr<db::Database> database_;
};

TEST_F(PreparedStatementTest, BindsTextToEveryMarkerTypeAndFailsLikeAPastedValue) {
  db::Transaction transaction(*database_);
  db::PreparedStatement insert(transaction,
                               "INSERT INTO T (ID,NOME,GIORNO,PREZZO) VALUES (GEN_ID(G,1),?,?,?)");
  ASSERT_EQ(insert.markerCount(), 3);
  insert.execute({QString::fromUtf8("L'€à"), QDate(2024, 2, 29), "12.5"});
  insert.execute({QVariant(), QVariant(), QVariant()});
  insert.execute({"12345678", "03/04/2024", 7});
  EXPECT_THROW(insert.execute({"123456789", QVariant(), QVariant()}), db::DbError)
      << "too long for VARCHAR(8)";
  EXPECT_THROW(insert.execute({"x"}), db::DbError) << "one value per marker";
  EXPECT_THROW(insert.execute({QString(5000, 'x'), QVariant(), QVariant()}), db::DbError);
  transaction.commit();

  db::Transaction reading(*database_);
  db::Query query(*database_, reading);
  query.sql << "SELECT NOME, GIORNO, PREZZO FROM T ORDER BY ID";
  query.open();
  EXPECT_EQ(query.value("NOME").toString(), QString::fromUtf8("L'€à"));
  EXPECT_EQ(query.value("GIORNO").toDate(), QDate(2024, 2, 29));
  EXPECT_DOUBLE_EQ(query.value("PREZZO").toDouble(), 12.5);
  query.next();
  EXPECT_TRUE(query.value("NOME").isNull());
  EXPECT_TRUE(query.value("GIORNO").isNull());
  query.next();
  EXPECT_EQ(query.value("NOME").toString(), "12345678");
  EXPECT_EQ(query.value("GIORNO").toDate(), QDate(2024, 3, 4)) << "month first, as statements";
  query.next();
  EXPECT_TRUE(query.isEof()) << "the failed runs stored nothing";
}

TEST_F(PreparedStatementTest, TypedMarkersKeepNumbersDatesAndWholeBlobs) {
  runStatement(*database_,
               "CREATE TABLE COPIA (C CHAR(4), N NUMERIC(18,2), S SMALLINT, D DOUBLE PRECISION, "
               "G DATE, O TIME, T TIMESTAMP, B BOOLEAN, M BLOB SUB_TYPE TEXT, X BLOB)");
  db::Transaction transaction(*database_);
  db::PreparedStatement insert(transaction, "INSERT INTO COPIA VALUES (?,?,?,?,?,?,?,?,?,?)",
                               db::PreparedStatement::Markers::Typed);
  QByteArray binary(70000, '\0');
  for (int i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i % 251);
  const QString memo = QString(9000, u'\u00e8');
  insert.execute({"ab", 1234567.89, 7, 0.1, QDate(2024, 2, 29), QTime(13, 14, 15, 160),
                  QDateTime(QDate(2005, 3, 31), QTime(23, 59, 58)), true, memo, binary});
  insert.execute({QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                  QVariant(), QVariant(), QVariant(), QVariant()});
  QVariantList tooLong{"abcde",    QVariant(), QVariant(), QVariant(), QVariant(),
                       QVariant(), QVariant(), QVariant(), QVariant(), QVariant()};
  EXPECT_THROW(insert.execute(tooLong), db::DbError) << "CHAR(4)";
  tooLong[0] = QVariant();
  tooLong[2] = 40000;
  EXPECT_THROW(insert.execute(tooLong), db::DbError) << "beyond SMALLINT";
  transaction.commit();

  db::Transaction reading(*database_);
  db::Query query(*database_, reading);
  query.sql << "SELECT * FROM COPIA";
  query.open();
  EXPECT_EQ(query.value("C").toString(), "ab");
  EXPECT_DOUBLE_EQ(query.value("N").toDouble(), 1234567.89);
  EXPECT_EQ(query.value("S").toInt(), 7);
  EXPECT_EQ(query.value("D").toDouble(), 0.1) << "a double travels exactly";
  EXPECT_EQ(query.value("G").toDate(), QDate(2024, 2, 29));
  EXPECT_EQ(query.value("O").toTime(), QTime(13, 14, 15, 160));
  EXPECT_EQ(query.value("T").toDateTime(), QDateTime(QDate(2005, 3, 31), QTime(23, 59, 58)));
  EXPECT_TRUE(query.value("B").toBool());
  EXPECT_EQ(query.value("M").toString(), memo);
  EXPECT_EQ(query.value("X").toByteArray(), binary);
  query.next();
  EXPECT_TRUE(query.value("N").isNull());
  EXPECT_TRUE(query.value("X").isNull());
  query.next();
  EXPECT_TRUE(query.isEof());
}

}  // namespace
