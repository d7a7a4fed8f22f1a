#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "db/Query.h"
#include "db/Transaction.h"
#include "query/engine/SortAndTotals.h"
#include "query/engine/SortKeys.h"
#include "query/model/AnswerCodes.h"
#include "support/FirebirdFixture.h"

using query::engine::sortKeyRule;
using query::model::AnswerCodes;

namespace {

const QStringList kSelect{"SELECT", "XX.CODICE, XX.QTA", "FROM ETICHETTE XX"};

QStringList plus(QStringList lines, const QStringList& more) {
  lines << more;
  return lines;
}

}  // namespace

TEST(SortKeysTest, TheRuleReplacesTheSortLinesOfTheStatement) {
  struct Case {
    const char* what;
    QStringList lines;
    QList<int> codes;
    bool sortLines;
    bool reopen;
    QStringList after;
    bool sortLinesAfter;
  };
  const QStringList descendingLines{"ORDER BY", "2 DESCENDING, ", "1 DESCENDING"};
  const std::vector<Case> cases = {
      {"keys on columns 2 and 1, every one descending",
       kSelect,
       {10200, 10111, 2},
       false,
       true,
       plus(kSelect, descendingLines),
       true},
      {"ascending",
       kSelect,
       {200, 101},
       false,
       true,
       plus(kSelect, {"ORDER BY", "2, ", "1"}),
       true},
      {"empty sort positions are skipped",
       kSelect,
       {300, 0, 100},
       false,
       true,
       plus(kSelect, {"ORDER BY", "3, ", "1"}),
       true},
      {"totals and grouping alone are no keys", kSelect, {11, 2}, false, false, kSelect, false},
      {"new keys replace the descending lines emitted before",
       plus(kSelect, descendingLines),
       {0, 100},
       true,
       true,
       plus(kSelect, {"ORDER BY", "2"}),
       true},
      {"no key left: the sort lines go",
       plus(kSelect, {"ORDER BY", "2, ", "1"}),
       {1, 2},
       true,
       true,
       kSelect,
       false},
      {"the switch on without ORDER BY: every line goes", kSelect, {0, 0}, true, true, {}, false},
      {"a direction without a position is no key",
       kSelect,
       {10000, 0},
       false,
       false,
       kSelect,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const query::engine::SortKeyOutcome outcome = sortKeyRule(c.lines, c.codes, c.sortLines);
    EXPECT_EQ(outcome.reopen, c.reopen);
    EXPECT_EQ(outcome.lines, c.after);
    EXPECT_EQ(outcome.sortLines, c.sortLinesAfter);
  }
  // Thirty-one positions are honoured.
  QList<int> codes;
  for (int column = 0; column < 31; ++column) codes << (31 - column) * 100;
  const QStringList lines = sortKeyRule(kSelect, codes, false).lines;
  ASSERT_EQ(lines.size(), kSelect.size() + 32);
  EXPECT_EQ(lines[kSelect.size() + 1], "31, ");
  EXPECT_EQ(lines.last(), "1");
}

TEST(SortKeysTest, TheChoiceRewritesEveryColumnsCode) {
  struct Case {
    const char* what;
    QList<int> before;
    QList<int> keys;
    QList<int> totals;
    bool descending;
    QList<int> after;
  };
  const std::vector<Case> cases = {
      {"second key, descending, with total, grouping kept",
       {1, 0, 2},
       {2, 0},
       {0},
       true,
       {10211, 0, 10102}},
      {"ascending keys and a total", {0, 0, 0}, {1}, {1, 2}, false, {0, 110, 10}},
      {"columns left out lose key and total but keep grouping",
       {10211, 10112, 2},
       {},
       {},
       true,
       {1, 2, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AnswerCodes codes;
    for (int column = 0; column < c.before.size(); ++column)
      codes.setCode(column, c.before[column]);
    query::engine::rewriteCodes(codes, static_cast<int>(c.before.size()), c.keys, c.totals,
                                c.descending);
    for (int column = 0; column < c.after.size(); ++column)
      EXPECT_EQ(codes.code(column), c.after[column]) << "column " << column;
  }
  // What the rewritten codes read as.
  AnswerCodes codes;
  codes.setCode(0, 10211);
  EXPECT_EQ(AnswerCodes::EstraiPosizioneOrdinamento(codes.code(0)), 2);
  EXPECT_TRUE(AnswerCodes::isDescending(codes.code(0)));
  EXPECT_TRUE(codes.ControlloSuTotali(0));
  EXPECT_EQ(codes.TipoRaggruppamento(0), 1);

  EXPECT_TRUE(query::engine::canAddSortKey(30));   // the 31st key
  EXPECT_FALSE(query::engine::canAddSortKey(31));  // the 32nd
}

namespace {

class SortKeysDatabaseTest : public FirebirdTest {
 protected:
  void SetUp() override {
    database_ = createDatabase();
    execute(*database_, {"CREATE TABLE T (A INTEGER, B INTEGER)", "INSERT INTO T VALUES (1, 1)",
                         "INSERT INTO T VALUES (1, 2)", "INSERT INTO T VALUES (2, 1)",
                         "INSERT INTO T VALUES (2, 2)"});
    transaction_ = std::make_unique<db::Transaction>(*database_);
    answer_ = std::make_unique<db::Query>(*database_, *transaction_);
    answer_->sql = QStringList{"SELECT A, B", "FROM T"};
    answer_->open();
  }

  QStringList rows() {
    QStringList lines;
    for (answer_->first(); !answer_->isEof(); answer_->next())
      lines << answer_->text("A") + answer_->text("B");
    return lines;
  }

  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
  std::unique_ptr<db::Query> answer_;
};

}  // namespace

TEST_F(SortKeysDatabaseTest, ADescendingSortRunsEveryKeyDescending) {
  AnswerCodes codes;
  bool sortLines = false;
  query::engine::rewriteCodes(codes, 2, {0, 1}, {}, true);
  EXPECT_EQ(query::engine::applySortKeys(*answer_, codes, sortLines), QString());
  EXPECT_TRUE(sortLines);
  EXPECT_EQ(rows(), (QStringList{"22", "21", "12", "11"}));

  // Taking the keys away reopens the answer without them.
  query::engine::rewriteCodes(codes, 2, {}, {}, false);
  EXPECT_EQ(query::engine::applySortKeys(*answer_, codes, sortLines), QString());
  EXPECT_FALSE(sortLines);
  EXPECT_TRUE(answer_->isActive());
  EXPECT_EQ(answer_->sql, (QStringList{"SELECT A, B", "FROM T"}));
}

TEST_F(SortKeysDatabaseTest, ARefusedStatementKeepsItsLinesAndTheSwitch) {
  // A statement changed elsewhere: the switch is on but no ORDER BY line is
  // left, so the removal takes every line and the database refuses the rest.
  AnswerCodes codes;
  codes.setCode(1, 100);
  bool sortLines = true;
  const QString error = query::engine::applySortKeys(*answer_, codes, sortLines);
  EXPECT_FALSE(error.isEmpty());
  EXPECT_TRUE(sortLines);
  EXPECT_FALSE(answer_->isActive());
  EXPECT_EQ(answer_->sql, (QStringList{"ORDER BY", "2"}));
}
