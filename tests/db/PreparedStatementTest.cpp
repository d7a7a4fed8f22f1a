#include <QDate>

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

}  // namespace
