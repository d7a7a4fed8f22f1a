#include <gtest/gtest.h>

#include <QFile>

#include "core/Paths.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "query/engine/QueryEngine.h"
#include "query/engine/SortKeys.h"
#include "query/model/RowList.h"
#include "query/output/AnswerExport.h"
#include "support/FirebirdFixture.h"

namespace {

// Exports of an answer presented from a running sum's local table, sorted
// by the user: every export writes the rows in the order shown, and the
// database keeps nothing of the answer afterwards.
class ProceduralExportTest : public FirebirdTest {
 protected:
  void SetUp() override {
    database_ = createDatabase();
    execute(*database_,
            {"CREATE TABLE DOCUMENTI (ID INTEGER NOT NULL, IMPORTO NUMERIC(9,2))",
             "INSERT INTO DOCUMENTI VALUES (1, 30)", "INSERT INTO DOCUMENTI VALUES (2, 10)",
             "INSERT INTO DOCUMENTI VALUES (3, NULL)"});
    transaction_ = std::make_unique<db::Transaction>(
        *database_, QStringList{"isc_tpb_concurrency", "isc_tpb_nowait"});
    engine_ =
        std::make_unique<query::engine::QueryEngine>(*database_, *transaction_, rows_, "DOCUMENTI");
    engine_->setWorkArea(core::storedPath(dir_.path()) + QStringLiteral("\\lavoro\\"), 3);
    answer_ = std::make_unique<db::Query>(*database_, *transaction_);
    {
      query::model::InternalChange change(rows_);
      rows_.replaceAll(
          {{1, "ID", 1, ""}, {2, "IMPORTO", 1, "(CALC (SOMMAPROG(IMPORTO,ID)) AS PROGR)"}});
    }
    ASSERT_TRUE(engine_->EseguiInterrogazione(*answer_, false))
        << engine_->lastError().toStdString();
    engine_->codes().setCode(0, 10100);  // ID descending
    ASSERT_EQ(query::engine::applySortKeys(*answer_, *engine_), "");
  }

  void TearDown() override {
    answer_.reset();
    engine_.reset();
  }

  query::output::ExportOutcome exportAs(query::output::ExportType type, const QString& name) {
    query::output::ExportChoice choice;
    choice.type = type;
    choice.directory = core::storedPath(dir_.path()) + u'\\';
    choice.name = name;
    QList<query::output::ExportColumn> columns;
    for (int i = 0; i < answer_->fieldCount(); ++i)
      columns << query::output::ExportColumn{i, answer_->field(i).name, answer_->field(i).name, 6,
                                             0};
    query::output::AnswerToExport source{*answer_, columns, choice.directory, QLocale::c()};
    return query::output::exportAnswer(choice, source, {}, false);
  }

  QString workTables() {
    return readOne(*database_,
                   "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME STARTING WITH "
                   "'TMP_RISP_'");
  }

  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
  query::model::RowList rows_;
  std::unique_ptr<query::engine::QueryEngine> engine_;
  std::unique_ptr<db::Query> answer_;
};

TEST_F(ProceduralExportTest, TextAndNewTableExportsWriteTheRowsAsShown) {
  const auto text = exportAs(query::output::ExportType::Testo, "somme.txt");
  ASSERT_TRUE(text.done) << (text.messages.isEmpty() ? "" : text.messages[0].text.toStdString());
  QFile file(dir_.filePath("somme.txt"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  ASSERT_GE(lines.size(), 4);
  EXPECT_TRUE(lines[1].startsWith("3;")) << lines[1].toStdString();
  EXPECT_TRUE(lines[3].startsWith("1;")) << lines[3].toStdString();
  EXPECT_TRUE(lines[3].contains(";30")) << lines[3].toStdString();

  const auto table = exportAs(query::output::ExportType::IB, "SOMME");
  ASSERT_TRUE(table.done) << (table.messages.isEmpty() ? "" : table.messages[0].text.toStdString());
  EXPECT_EQ(readOne(*database_, "SELECT COUNT(*) FROM SOMME"), "3");
  EXPECT_EQ(readOne(*database_, "SELECT PROGR FROM SOMME WHERE ID=2"), "40");
  EXPECT_EQ(workTables(), "0") << "the copy the export read is gone";
}

}  // namespace
