#include <gtest/gtest.h>

#include <QHeaderView>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>

#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "query/designer/AnswerModel.h"
#include "query/designer/IBLQueryForm.h"
#include "query/designer/OrdETotForm.h"
#include "query/designer/ResultView.h"
#include "query/engine/QueryEngine.h"
#include "support/FirebirdFixture.h"
#include "support/ScriptedUi.h"

namespace {

// Articles with an amount, a quantity and a long note, run through the
// designer and shown in its result view.
class ResultViewTest : public FirebirdTest {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    database_ = createDatabase();
    QString note;
    for (int i = 0; i < 50; ++i) note += QStringLiteral("parola ");  // 350 characters
    execute(*database_, {"CREATE TABLE ARTICOLI (CODICE VARCHAR(10), IMPORTO DOUBLE PRECISION, QTA "
                         "INTEGER, NOTE BLOB SUB_TYPE 1)",
                         "INSERT INTO ARTICOLI VALUES ('B', 1234.5, 2, '" + note.left(250) + "')",
                         "INSERT INTO ARTICOLI VALUES ('A', 0, 3, 'breve')",
                         "INSERT INTO ARTICOLI VALUES ('C', 10, 1, NULL)"});
    transaction_ = std::make_unique<db::Transaction>(
        *database_, QStringList{"isc_tpb_concurrency", "isc_tpb_nowait"});
    form_ = std::make_unique<TIBLQueryForm>(
        *database_, *transaction_,
        query::designer::DesignerSettings{"ARTICOLI", "C:\\bin\\", "C:\\lavoro\\", 0, "DEMO"});
    form_->show();
    form_->ButtonEseguiClick();
    view_ = form_->findChild<query::designer::ResultView*>();
    grid_ = control<QTableView>(*form_, "GridRisposta");
    while (grid_->model()->canFetchMore({})) grid_->model()->fetchMore({});
  }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }

  QString cell(int row, int column) { return grid_->model()->index(row, column).data().toString(); }
  void key(int column, Qt::Key pressed) {
    grid_->setCurrentIndex(grid_->model()->index(0, column));
    QTest::keyClick(grid_, pressed);
  }

  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
  ScriptedPrompter prompter_;
  ScopedPrompter installed_{prompter_};
  std::unique_ptr<TIBLQueryForm> form_;
  query::designer::ResultView* view_ = nullptr;
  QTableView* grid_ = nullptr;
};

TEST_F(ResultViewTest, F5CyclesTheDigitGroupingOfAnAmount) {
  ASSERT_TRUE(form_->inResultView());
  EXPECT_EQ(cell(0, 1), "1234.5");
  key(1, Qt::Key_F5);
  EXPECT_EQ(cell(0, 1), "1.234,50");
  EXPECT_EQ(cell(1, 1), "") << "a zero amount shows nothing";
  EXPECT_EQ(grid_->model()->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
            Qt::AlignRight);
  key(1, Qt::Key_F5);
  EXPECT_EQ(cell(0, 1), "1.235");
  key(1, Qt::Key_F5);
  EXPECT_EQ(cell(0, 1), "1234.5");
  key(2, Qt::Key_F5);
  EXPECT_EQ(cell(0, 2), "2") << "integers are never grouped";
}

TEST_F(ResultViewTest, F3HidesButNeverTheLastColumnAndF4BringsThemBack) {
  for (int column : {0, 1, 2}) key(column, Qt::Key_F3);
  EXPECT_TRUE(grid_->isColumnHidden(0));
  EXPECT_TRUE(grid_->isColumnHidden(2));
  key(3, Qt::Key_F3);
  EXPECT_FALSE(grid_->isColumnHidden(3)) << "the last visible column stays";
  key(3, Qt::Key_F4);
  for (int column = 0; column < 4; ++column) EXPECT_FALSE(grid_->isColumnHidden(column));
  EXPECT_TRUE(form_->TabRispTmp().isActive());
}

TEST_F(ResultViewTest, TitlesAreCutToTheirWidthAndColumnsMoveByTheirTitle) {
  auto* answer = view_->answerModel();
  const int character = answer->characterWidth();
  grid_->horizontalHeader()->resizeSection(1, 3 * character);
  EXPECT_EQ(answer->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "IMP");
  grid_->horizontalHeader()->resizeSection(1, 20 * character);
  EXPECT_EQ(answer->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "IMPORTO");

  grid_->horizontalHeader()->moveSection(2, 0);
  EXPECT_EQ(answer->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "QTA");
  EXPECT_EQ(cell(0, 0), "2");
  EXPECT_EQ(grid_->horizontalHeader()->visualIndex(0), 0) << "the view keeps the model's order";
}

TEST_F(ResultViewTest, ASortKeepsHiddenColumnsAndWidths) {
  key(2, Qt::Key_F3);
  grid_->horizontalHeader()->resizeSection(0, 30);
  prompter_.script([](QDialog& dialog) {
    auto* available = control<QListWidget>(dialog, "ListBox1");
    available->setCurrentRow(0);  // CODICE
    static_cast<TOrdETotForm&>(dialog).ListBox1DblClick();
    clickButton(dialog, "ButtonAggiorna");
    return dialog.result();
  });
  clickButton(*form_, "ButtonOrdTot");
  while (grid_->model()->canFetchMore({})) grid_->model()->fetchMore({});
  EXPECT_EQ(cell(0, 0), "A");
  EXPECT_EQ(cell(2, 0), "C");
  EXPECT_TRUE(grid_->isColumnHidden(2));
  EXPECT_NEAR(grid_->columnWidth(0), 30, 8);
  EXPECT_TRUE(form_->TabRispTmp().sql.contains("ORDER BY"));
}

TEST_F(ResultViewTest, OneRecordShowsALongNoteInPiecesAndCountsAreGrouped) {
  key(0, Qt::Key_F7);
  ASSERT_TRUE(view_->singleRecord());
  EXPECT_FALSE(control<QPushButton>(*form_, "ButtonSomma")->isVisible());
  EXPECT_TRUE(control<QPushButton>(*form_, "ButtonChiudiRisposta")->isVisible());
  QStringList names;
  for (int row = 0; row < grid_->model()->rowCount(); ++row)
    names << grid_->model()->index(row, 0).data().toString();
  EXPECT_EQ(names, (QStringList{"CODICE", "IMPORTO", "QTA", "NOTE", "NOTE", "NOTE"}));
  QTest::keyClick(grid_, Qt::Key_F7);
  EXPECT_FALSE(view_->singleRecord());
  EXPECT_EQ(grid_->model(), view_->answerModel());

  clickButton(*form_, "ButtonNRec");
  EXPECT_EQ(prompter_.texts(), QStringList{"Numero record presenti: 3"});
  clickButton(*form_, "ButtonRitorna");
  EXPECT_FALSE(form_->inResultView());
}

}  // namespace
