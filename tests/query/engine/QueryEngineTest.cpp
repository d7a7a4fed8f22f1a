#include <gtest/gtest.h>

#include "db/Query.h"
#include "db/Transaction.h"
#include "query/engine/QueryEngine.h"
#include "query/model/RowList.h"
#include "support/FirebirdFixture.h"

namespace {

using query::model::Row;

// A small label archive: labels with a launch, a quantity and an import
// date, and the launches they belong to.
class QueryEngineTest : public FirebirdTest {
 protected:
  void SetUp() override {
    database_ = createDatabase();
    execute(*database_,
            {"CREATE TABLE ETICHETTE (ID INTEGER, CODICE VARCHAR(20), DESCRIZIONE "
             "VARCHAR(40), CAUSALE VARCHAR(10), QTA INTEGER, DATAIMPORT DATE, "
             "IDLANCIOSTAMPA INTEGER)",
             "CREATE TABLE LANCISTAMPA (ID INTEGER, NOTE VARCHAR(40))",
             "INSERT INTO LANCISTAMPA VALUES (10, 'primo')",
             "INSERT INTO LANCISTAMPA VALUES (11, 'secondo')",
             "INSERT INTO ETICHETTE VALUES (1, 'A1', 'giacca rossi', 'VEND', 2, '2005-03-01', 10)",
             "INSERT INTO ETICHETTE VALUES (2, 'A2', 'O''NEIL blu', 'VEND', 3, '2005-03-31', 11)",
             "INSERT INTO ETICHETTE VALUES (3, 'A3', 'abito rossi', 'RIASS', 5, '2006-01-15', "
             "NULL)"});
    transaction_ = std::make_unique<db::Transaction>(
        *database_, QStringList{"isc_tpb_concurrency", "isc_tpb_nowait"});
    answer_ = std::make_unique<db::Query>(*database_, *transaction_);
    engine_ =
        std::make_unique<query::engine::QueryEngine>(*database_, *transaction_, rows_, "ETICHETTE");
  }

  void setRows(const QList<Row>& rows) {
    query::model::InternalChange change(rows_);
    rows_.replaceAll(rows);
  }

  // The answer as "value;value" lines.
  QStringList answer() {
    QStringList lines;
    answer_->first();
    for (; !answer_->isEof(); answer_->next()) {
      QStringList fields;
      for (int i = 0; i < answer_->fieldCount(); ++i)
        fields << db::displayText(answer_->value(answer_->currentRow(), i));
      lines << fields.join(';');
    }
    return lines;
  }

  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
  std::unique_ptr<db::Query> answer_;
  query::model::RowList rows_;
  std::unique_ptr<query::engine::QueryEngine> engine_;
};

TEST_F(QueryEngineTest, ConditionsJoinsAndSummariesRunOnTheDatabase) {
  // A contains search (apostrophe and all), a raw predicate with a
  // day-first date, a left join.
  setRows({{1, "CODICE", 1, ""},
           {2, "DESCRIZIONE", 1, "o'neil"},
           {3, "DATAIMPORT", 0, "(DATAIMPORT>='31/03/2005')"},
           {4, "LANCISTAMPA = A", 9, ""},
           {5, "A.ID", 8, "IDLANCIOSTAMPA"},
           {6, "A.NOTE", 1, ""}});
  ASSERT_TRUE(engine_->EseguiInterrogazione(*answer_, false)) << engine_->lastError().toStdString();
  EXPECT_EQ(answer(), QStringList{"A2;O'NEIL blu;secondo"});

  // Year and month summary with a sum: grouped on the extracted year too.
  setRows({{1, "CAUSALE", 1, ""},
           {2, "DATAIMPORT", 0, "(EXTRACT (YEAR FROM DATAIMPORT)) AS ANNO"},
           {3, "QTA", 0, "(Calc (Sum(QTA)) as Tot)"}});
  ASSERT_TRUE(engine_->EseguiInterrogazione(*answer_, false)) << engine_->lastError().toStdString();
  QStringList summary = answer();
  summary.sort();
  EXPECT_EQ(summary, (QStringList{"RIASS;2006;5", "VEND;2005;5"}));

  // A "P" join keeps its condition in the join: unmatched labels stay.
  setRows({{1, "ID", 1, ""},
           {2, "LANCISTAMPA = A", 9, "P"},
           {3, "A.ID", 8, "IDLANCIOSTAMPA"},
           {4, "A.NOTE", 1, "primo"}});
  ASSERT_TRUE(engine_->EseguiInterrogazione(*answer_, false)) << engine_->lastError().toStdString();
  QStringList joined = answer();
  joined.sort();
  EXPECT_EQ(joined, (QStringList{"1;primo", "2;", "3;"}));
}

TEST_F(QueryEngineTest, ARefusedStatementLeavesTheAnswerClosedWithItsText) {
  setRows({{1, "CODICE", 1, "(CODICE=)"}});
  EXPECT_FALSE(engine_->EseguiInterrogazione(*answer_, false));
  EXPECT_FALSE(answer_->isActive());
  EXPECT_FALSE(engine_->lastError().isEmpty());
  EXPECT_EQ(answer_->sql.last(), "((XX.CODICE=))");

  // Clipboard mode never opens the answer, even for a refused statement,
  // and shows the quotes doubled.
  setRows({{1, "CODICE", 1, "(CODICE='A1')"}, {2, "QTA", 1, "(QTA=)"}});
  engine_->setClipboardMode(true);
  EXPECT_TRUE(engine_->EseguiInterrogazione(*answer_, false));
  EXPECT_FALSE(answer_->isActive());
  EXPECT_TRUE(engine_->clipboardLines().contains("((XX.CODICE=''A1'')) and"))
      << engine_->clipboardLines().join('\n').toStdString();
  EXPECT_EQ(answer_->sql.last(), "((XX.QTA=))") << "the answer keeps the plain statement";
}

TEST_F(QueryEngineTest, SideBySidePartsRunAsOneUnionAndAFailingPartStopsIt) {
  // Part one: codes of launch 10 with their launch note (left join); part
  // two, the same shape, launch 11.
  const QList<Row> first{
      {1, "CODICE", 1, ""},          {2, "IDLANCIOSTAMPA", 0, "(IDLANCIOSTAMPA=10)"},
      {3, "LANCISTAMPA = A", 9, ""}, {4, "A.ID", 8, "IDLANCIOSTAMPA"},
      {5, "A.NOTE", 1, ""},          {6, "QUERY BLOCCATA", 7, ""}};
  QList<Row> rows = first;
  rows << Row{7, "ETICHETTE", 9, "UNION"} << Row{8, "CODICE", 1, ""}
       << Row{9, "IDLANCIOSTAMPA", 0, "(IDLANCIOSTAMPA=11)"} << Row{10, "UNION", 9, ""}
       << Row{11, "A.ID", 8, "IDLANCIOSTAMPA"} << Row{12, "A.NOTE", 1, ""}
       << Row{13, "QUERY BLOCCATA", 7, "UNION"};
  setRows(rows);
  ASSERT_TRUE(engine_->EseguiInterrogazione(*answer_, true)) << engine_->lastError().toStdString();
  QStringList both = answer();
  both.sort();
  EXPECT_EQ(both, (QStringList{"A1;primo", "A2;secondo"}));
  EXPECT_EQ(answer_->sql.count("UNION"), 1);

  rows[8].condizione = "(IDLANCIOSTAMPA=)";
  setRows(rows);
  EXPECT_FALSE(engine_->EseguiInterrogazione(*answer_, true));
  EXPECT_FALSE(answer_->isActive());
  EXPECT_FALSE(answer_->sql.contains("UNION")) << "the failing part's own statement is kept";
}

TEST_F(QueryEngineTest, FieldTypesComeFromTheMainAndTheJoinedTables) {
  setRows({{1, "QTA", 1, ""}, {2, "LANCISTAMPA = A", 9, ""}, {3, "A.NOTE", 1, ""}});
  EXPECT_EQ(engine_->DeterminaTipoCampo("QTA"), db::FieldType::Integer);
  EXPECT_EQ(engine_->DeterminaTipoCampo("DATAIMPORT"), db::FieldType::Date);
  EXPECT_EQ(engine_->DeterminaTipoCampo("A.NOTE"), db::FieldType::String);
  EXPECT_EQ(engine_->DeterminaTipoCampo("MANCA"), db::FieldType::Unknown);
  EXPECT_EQ(engine_->tableFields().fieldNames("NON_ESISTE"), QStringList());
  EXPECT_EQ(engine_->tableFields().fieldNames("x\"; DROP"), QStringList());
}

}  // namespace
