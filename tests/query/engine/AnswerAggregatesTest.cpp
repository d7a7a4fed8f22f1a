#include <gtest/gtest.h>

#include <memory>

#include "db/Query.h"
#include "db/Transaction.h"
#include "query/engine/AnswerAggregates.h"
#include "support/FirebirdFixture.h"

namespace {

class AnswerAggregatesTest : public FirebirdTest {
 protected:
  void SetUp() override {
    database_ = createDatabase();
    execute(*database_,
            {"CREATE TABLE M (ID INTEGER, PESO DOUBLE PRECISION, IMPORTO NUMERIC(15,2), "
             "GRANDE BIGINT)",
             "INSERT INTO M VALUES (1, 1.25, 1000.10, 9000000000000000000)",
             "INSERT INTO M VALUES (2, 2.5, 234.40, 9000000000000000000)",
             "INSERT INTO M VALUES (3, NULL, 0.01, 1)"});
    transaction_ = std::make_unique<db::Transaction>(*database_);
    answer_ = std::make_unique<db::Query>(*database_, *transaction_);
  }

  void open(const QStringList& lines) {
    answer_->close();
    answer_->sql = lines;
    answer_->open();
  }

  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
  std::unique_ptr<db::Query> answer_;
};

}  // namespace

TEST_F(AnswerAggregatesTest, SumsAndCountsLeaveTheAnswerAsItWas) {
  // Two columns of the same name, as a join gives them; an ordered answer.
  open({"SELECT ID, PESO, IMPORTO, ID, GRANDE", "FROM M", "ORDER BY", "1 DESCENDING"});
  answer_->next();
  ASSERT_EQ(answer_->currentRow(), 1);
  ASSERT_EQ(answer_->rowCount(), 2);

  // The database adds up the column: one statement over the answer's.
  QList<QStringList> statements;
  db::setStatementObserver([&](const QStringList& lines) { statements << lines; });
  EXPECT_DOUBLE_EQ(query::engine::sumColumn(*answer_, 0), 6.0);
  db::setStatementObserver(nullptr);
  ASSERT_EQ(statements.size(), 1);
  EXPECT_EQ(statements[0].first(), "SELECT SUM(C1) FROM (");
  EXPECT_EQ(statements[0].last(), ") DT (C1, C2, C3, C4, C5)");

  EXPECT_DOUBLE_EQ(query::engine::sumColumn(*answer_, 1), 3.75);
  EXPECT_DOUBLE_EQ(query::engine::sumColumn(*answer_, 2), 1234.51);
  // The database's sum overflows a BIGINT: the rows are added up instead.
  EXPECT_DOUBLE_EQ(query::engine::sumColumn(*answer_, 4), 18000000000000000001.0);
  EXPECT_EQ(query::engine::countRows(*answer_), 3);

  EXPECT_EQ(answer_->currentRow(), 1);
  EXPECT_EQ(answer_->rowCount(), 2) << "no row fetched into the answer";
  EXPECT_EQ(answer_->text("ID"), "2");

  open({"SELECT ID, PESO", "FROM M", "WHERE ID > 10"});
  EXPECT_EQ(query::engine::sumColumn(*answer_, 1), 0.0);
  EXPECT_EQ(query::engine::countRows(*answer_), 0);
}
