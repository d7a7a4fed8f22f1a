#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <memory>

#include "core/Paths.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "grid/RadioGroup.h"
#include "platform/localstore/LocalTable.h"
#include "query/designer/IBLQueryForm.h"
#include "query/engine/QueryEngine.h"
#include "support/FirebirdFixture.h"
#include "support/ScriptedUi.h"
#include "ui/EditData.h"

namespace {

using query::model::Row;

const QString kLocked =
    QStringLiteral("Attenzione: operazione non possibile, la Query è bloccata!");

class IBLQueryFormTest : public FirebirdTest {
 protected:
  void SetUp() override {
    database_ = createDatabase();
    execute(*database_, {"CREATE TABLE ETICHETTE (ID INTEGER, CODICE VARCHAR(20), QTA INTEGER, "
                         "DATAIMPORT DATE, IDLANCIOSTAMPA INTEGER)",
                         "CREATE TABLE LANCISTAMPA (ID INTEGER, NOTE VARCHAR(40))",
                         "CREATE TABLE CLIENTI (ID INTEGER, NOME VARCHAR(40))",
                         "INSERT INTO ETICHETTE VALUES (1, 'A1', 2, '2005-03-31', 10)",
                         "INSERT INTO ETICHETTE VALUES (2, 'B2', 7, '2006-01-15', NULL)"});
    transaction_ = std::make_unique<db::Transaction>(
        *database_, QStringList{"isc_tpb_concurrency", "isc_tpb_nowait"});
    form_ = std::make_unique<TIBLQueryForm>(
        *database_, *transaction_,
        query::designer::DesignerSettings{"ETICHETTE", "C:\\bin\\", "C:\\lavoro\\", 0, "DEMO"});
    form_->show();
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    grid_ = control<QTableView>(*form_, "GridQuery");
  }

  query::model::RowList& rows() { return form_->TabIntTmp(); }

  void setRows(const QList<Row>& list) {
    query::model::InternalChange change(rows());
    rows().replaceAll(list);
  }

  // Puts the cursor on the row named `nome` and presses `key` in the grid.
  void press(const QString& nome, Qt::Key key) {
    grid_->setCurrentIndex(grid_->model()->index(rows().indexOf(nome), 0));
    QTest::keyClick(grid_, key);
  }

  QString condition(const QString& nome) { return rows().at(rows().indexOf(nome)).condizione; }
  int mostra(const QString& nome) { return rows().at(rows().indexOf(nome)).mostra; }

  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
  ScriptedPrompter prompter_;
  ScopedPrompter installed_{prompter_};
  std::unique_ptr<TIBLQueryForm> form_;
  QTableView* grid_ = nullptr;
};

TEST_F(IBLQueryFormTest, OpensWithEveryFieldShownAndTheCompanyInTheCaption) {
  EXPECT_EQ(form_->windowTitle(), "Query - Ditta: DEMO");
  ASSERT_EQ(rows().count(), 5);
  EXPECT_EQ(rows().at(0), (Row{1, "ID", 1, ""}));
  EXPECT_EQ(rows().at(4), (Row{5, "IDLANCIOSTAMPA", 1, ""}));
  EXPECT_EQ(TIBLQueryForm::larghezzaCondizione(486), 33);
  EXPECT_TRUE(control<QPushButton>(*form_, "ButtonEsegui")->isEnabled());
  EXPECT_FALSE(control<QPushButton>(*form_, "ButtonRitorna")->isEnabled());
}

TEST_F(IBLQueryFormTest, KeysEditTheCurrentRowAndRespectTheLock) {
  press("CODICE", Qt::Key_F3);
  EXPECT_EQ(mostra("CODICE"), 0);
  press("CODICE", Qt::Key_F3);
  EXPECT_EQ(mostra("CODICE"), 1);

  press("CODICE", Qt::Key_F4);
  EXPECT_EQ(condition("CODICE"), "(");
  QTest::keyClick(grid_, Qt::Key_Escape);  // leaves the cell opened for typing
  press("CODICE", Qt::Key_F5);
  EXPECT_EQ(condition("CODICE"), "(CODICE");
  press("CODICE", Qt::Key_F4);
  EXPECT_EQ(condition("CODICE"), "(CODICE)");

  // F6 on a number: only the upper bound.
  prompter_.script([](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Range Valori");
    typeInto(dialog, "Edit2", "10");
    clickButton(dialog, "ButtonOk");
    return 1;
  });
  press("QTA", Qt::Key_F6);
  EXPECT_EQ(condition("QTA"), "(QTA<=10)");

  // F10 on a date asks a date; on text a value.
  prompter_.script([](QDialog& dialog) {
    control<TEditData>(dialog, "EditData1")->setText("31/03/2005");
    return 1;
  });
  press("DATAIMPORT", Qt::Key_F10);
  EXPECT_EQ(condition("DATAIMPORT"), "(DATAIMPORT='31/03/2005')");
  prompter_.script([](QDialog& dialog) {
    control<QLineEdit>(dialog, "Edit1")->setText("X1");
    return 1;
  });
  press("CODICE", Qt::Key_F10);
  EXPECT_EQ(condition("CODICE"), "(CODICE='X1')");

  // F7 and F9 through their dialogs.
  prompter_.script([](QDialog& dialog) {
    control<QLineEdit>(dialog, "EditFormula")->setText("QTA*2");
    return 1;
  });
  press("QTA", Qt::Key_F7);
  EXPECT_EQ(condition("QTA"), "(CALC (QTA*2))");
  prompter_.script([](QDialog& dialog) {
    control<QPlainTextEdit>(dialog, "Memo1")->setPlainText("(QTA>1\r\nAND QTA<5)");
    return 1;
  });
  press("QTA", Qt::Key_F9);
  EXPECT_EQ(condition("QTA"), "(QTA>1AND QTA<5)");

  // F8 offers the date fields and writes the extraction.
  QStringList offered;
  prompter_.script([&](QDialog& dialog) {
    auto* fields = control<QComboBox>(dialog, "EditNomiCampi");
    for (int i = 0; i < fields->count(); ++i) offered << fields->itemText(i);
    control<TRadioGroup>(dialog, "RadioGroup1")->button(1)->click();
    clickButton(dialog, "ButtonOk");
    return dialog.result();
  });
  press("ID", Qt::Key_F8);
  EXPECT_EQ(offered, QStringList{"DATAIMPORT"});
  EXPECT_EQ(condition("ID"), "(EXTRACT (MONTH from DATAIMPORT)) AS Mese");

  // Locked: F3, F7, F8 and F9 are ignored, the buttons say why; F4 still works.
  form_->flags().locked = true;
  prompter_.reset();
  press("ID", Qt::Key_F3);
  press("ID", Qt::Key_F7);
  press("ID", Qt::Key_F8);
  press("ID", Qt::Key_F9);
  EXPECT_EQ(mostra("ID"), 1);
  EXPECT_TRUE(prompter_.dialogs().isEmpty());
  press("IDLANCIOSTAMPA", Qt::Key_F4);
  EXPECT_EQ(condition("IDLANCIOSTAMPA"), "(");
  QTest::keyClick(grid_, Qt::Key_Escape);
  clickButton(*form_, "ButtonDeselezionaTutto");
  clickButton(*form_, "ButtonEliminaTabella");
  EXPECT_EQ(prompter_.texts(), (QStringList{kLocked, kLocked}));
  EXPECT_EQ(mostra("CODICE"), 1);
}

TEST_F(IBLQueryFormTest, FramedRowsCannotBeEditedOrToggled) {
  setRows({{1, "CODICE", 6, ""}, {2, "LANCISTAMPA = A", 9, ""}, {3, "A.ID", 8, "IDLANCIOSTAMPA"}});
  press("CODICE", Qt::Key_F3);
  EXPECT_EQ(mostra("CODICE"), 6);
  prompter_.script([](QDialog& dialog) {
    control<QPlainTextEdit>(dialog, "Memo1")->setPlainText("X");
    return 1;
  });
  press("A.ID", Qt::Key_F9);
  EXPECT_EQ(condition("A.ID"), "IDLANCIOSTAMPA") << "a link key keeps its field";
  press("LANCISTAMPA = A", Qt::Key_F4);
  EXPECT_EQ(condition("LANCISTAMPA = A"), "");
  EXPECT_FALSE(grid_->model()->flags(grid_->model()->index(1, 2)) & Qt::ItemIsEditable);
}

TEST_F(IBLQueryFormTest, RunningShowsTheAnswerAndAFailureOnce) {
  rows().setCondizione(rows().indexOf("CODICE"), "(CODICE='A1')");
  QTest::keyClick(form_.get(), Qt::Key_F12);
  ASSERT_TRUE(form_->inResultView());
  EXPECT_TRUE(form_->TabRispTmp().isActive());
  auto* answer = control<QTableView>(*form_, "GridRisposta");
  EXPECT_EQ(answer->model()->rowCount(), 1);
  EXPECT_EQ(answer->model()->index(0, 1).data().toString(), "A1");
  EXPECT_TRUE(control<QPushButton>(*form_, "ButtonRitorna")->isEnabled());
  QTest::keyClick(form_.get(), Qt::Key_F11);
  EXPECT_TRUE(form_->isVisible()) << "F11 does nothing in the result view";
  clickButton(*form_, "ButtonRitorna");
  EXPECT_FALSE(form_->inResultView());

  rows().setCondizione(rows().indexOf("QTA"), "(QTA=)");
  clickButton(*form_, "ButtonEsegui");
  EXPECT_FALSE(form_->inResultView());
  EXPECT_FALSE(form_->TabRispTmp().isActive());
  EXPECT_EQ(prompter_.texts(),
            QStringList{"Si prega di verificare la sintassi delle condizioni o dei collegamenti"});

  QTest::keyClick(form_.get(), Qt::Key_F11);
  EXPECT_FALSE(form_->isVisible()) << "F11 closes the design view";
}

TEST_F(IBLQueryFormTest, RunningSumsShowInTheResultViewUntilTheDesignerCloses) {
  form_ = std::make_unique<TIBLQueryForm>(
      *database_, *transaction_,
      query::designer::DesignerSettings{"ETICHETTE", "C:\\bin\\", core::storedPath(dir_.path()), 0,
                                        "DEMO"});
  const QString workTables = QStringLiteral(
      "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME STARTING WITH 'TMP_RISP_'");
  // A field the answer lacks: the function's own message, the rows stay.
  setRows({{1, "ID", 1, ""}, {2, "QTA", 0, "(CALC (INTEROQUOV(QTA)) AS I)"}});
  form_->ButtonEseguiClick();
  EXPECT_FALSE(form_->inResultView());
  EXPECT_EQ(prompter_.texts(), QStringList{"Campo 'QTA' non trovato"});

  // A bad ordering is told; the sums follow the answer.
  setRows({{1, "ID", 1, ""}, {2, "QTA", 1, "(CALC (SOMMAPROG(QTA,MANCA)) AS PROGR)"}});
  form_->ButtonEseguiClick();
  ASSERT_TRUE(form_->inResultView());
  EXPECT_EQ(prompter_.texts().last(),
            "Errore impostazioni campi ordinamento! Verificare e correggere");
  auto* answer = control<QTableView>(*form_, "GridRisposta");
  ASSERT_EQ(answer->model()->columnCount(), 3);
  EXPECT_EQ(answer->model()->headerData(2, Qt::Horizontal).toString(), "PROGR");
  while (answer->model()->canFetchMore({})) answer->model()->fetchMore({});
  EXPECT_EQ(answer->model()->index(1, 2).data().toString(), "9");
  // The rows are read from the local table, held while they are shown;
  // nothing is written to the database.
  EXPECT_EQ(readOne(*database_, workTables), "0");
  platform::localstore::LocalTable sums(
      core::storedPath(dir_.path()) + QStringLiteral("\\QUERY\\RISPTMP\\SUMPROG"),
      QStringLiteral("SUMPROG.DB"));
  EXPECT_FALSE(sums.open(platform::localstore::LocalTable::Access::Exclusive));
  form_.reset();
  EXPECT_TRUE(sums.open(platform::localstore::LocalTable::Access::Exclusive))
      << sums.lastError().toStdString();
}

TEST_F(IBLQueryFormTest, CopySqlHandsOverTheStatementWithDoubledQuotes) {
  rows().setCondizione(rows().indexOf("CODICE"), "(CODICE='A1')");
  QString shown;
  prompter_.script([&](QDialog& dialog) {
    shown = control<QPlainTextEdit>(dialog, "MemoPerClipboard")->toPlainText();
    clickButton(dialog, "ButtonOk");
    return QDialog::Accepted;
  });
  form_->findChild<QAction*>("MenuCopiaSql")->trigger();
  EXPECT_TRUE(shown.contains("((XX.CODICE=''A1''))")) << shown.toStdString();
  EXPECT_EQ(QApplication::clipboard()->text(), shown);
  EXPECT_EQ(prompter_.texts(), QStringList{"Script SQL copiato!"});
  EXPECT_FALSE(form_->TabRispTmp().isActive());
  EXPECT_FALSE(form_->inResultView());
}

TEST_F(IBLQueryFormTest, RemovingATableChecksItsLinksAndAsks) {
  const QList<Row> joined{{1, "CODICE", 1, ""},          {2, "IDLANCIOSTAMPA", 1, ""},
                          {3, "LANCISTAMPA = A", 9, ""}, {4, "A.ID", 8, "IDLANCIOSTAMPA"},
                          {5, "A.NOTE", 1, ""},          {6, "CLIENTI = B", 9, ""},
                          {7, "B.ID", 8, "A.ID"},        {8, "B.NOME", 1, ""}};
  setRows(joined);
  const auto choose = [this](const QString& table) {
    prompter_.script([table](QDialog& dialog) {
      auto* list = control<QComboBox>(dialog, "EditNomeTabella");
      EXPECT_EQ(list->count(), 2);
      list->setCurrentText(table);
      return 1;
    });
  };
  choose("LANCISTAMPA = A");
  clickButton(*form_, "ButtonEliminaTabella");
  EXPECT_EQ(prompter_.texts(),
            QStringList{"Cancellazione Impossibile: la tabella da eliminare\rha un collegamento "
                        "con una tabella presente nella query!"});
  EXPECT_EQ(rows().rows(), joined);

  prompter_.reset();
  choose("CLIENTI = B");
  prompter_.answer(ui::Cancel);
  clickButton(*form_, "ButtonEliminaTabella");
  EXPECT_EQ(rows().rows(), joined);
  choose("CLIENTI = B");
  prompter_.answer(ui::Ok);
  clickButton(*form_, "ButtonEliminaTabella");
  EXPECT_EQ(rows().rows(), joined.mid(0, 5));
}

TEST_F(IBLQueryFormTest, SumWithTheCurrentGroupingFillsTheChosenField) {
  prompter_.script([](QDialog& dialog) {
    control<QComboBox>(dialog, "ComboCampo")->setCurrentText("QTA");
    return 1;
  });
  form_->findChild<QAction*>("MenuInserisciSomma")->trigger();
  EXPECT_EQ(condition("QTA"), "(Calc (Sum(QTA)) as Tot)");
  press("QTA", Qt::Key_F3);  // QTA hidden: the sum per CODICE
  for (const char* field : {"ID", "DATAIMPORT", "IDLANCIOSTAMPA"}) press(field, Qt::Key_F3);
  clickButton(*form_, "ButtonEsegui");
  ASSERT_TRUE(form_->inResultView()) << prompter_.texts().join('\n').toStdString();
  EXPECT_EQ(form_->TabRispTmp().fieldCount(), 2);
}

}  // namespace
