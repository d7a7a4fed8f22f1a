#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <memory>

#include "db/Database.h"
#include "db/Transaction.h"
#include "db/WorkTables.h"
#include "grid/RadioGroup.h"
#include "query/designer/IBAggForm.h"
#include "query/designer/IBCamVisForm.h"
#include "query/designer/IBLQueryForm.h"
#include "support/FirebirdFixture.h"
#include "support/ScriptedUi.h"

namespace {

using query::model::Row;

const QString kAlreadyJoined = QStringLiteral("Tabella gia presente nella Query!");

class JoinedTablesDialogsTest : public FirebirdTest {
 protected:
  void SetUp() override {
    database_ = createDatabase();
    execute(*database_, {"CREATE TABLE ETICHETTE (ID INTEGER, CODICE VARCHAR(20), QTA INTEGER)",
                         "CREATE TABLE LANCISTAMPA (ID INTEGER, NOTE VARCHAR(40), DATA DATE)",
                         "CREATE TABLE CLIENTI (ID INTEGER, NOME VARCHAR(40))",
                         "CREATE VIEW VISTA AS SELECT ID FROM CLIENTI",
                         "CREATE TABLE TMP_ST_USER1_3 (NPAGINA INTEGER)",
                         "CREATE TABLE TMP_RISP_USER1_9_1 (ID INTEGER)"});
    // An export being filled is a work table too until it is done.
    db::worktables::create(*database_, "ESPORTAZIONE", {"CREATE TABLE ESPORTAZIONE (ID INTEGER)"});
    transaction_ = std::make_unique<db::Transaction>(
        *database_, QStringList{"isc_tpb_concurrency", "isc_tpb_nowait"});
    form_ = std::make_unique<TIBLQueryForm>(
        *database_, *transaction_,
        query::designer::DesignerSettings{"ETICHETTE", "C:\\bin\\", "C:\\lavoro\\", 0, "DEMO"});
  }

  query::model::RowList& rows() { return form_->TabIntTmp(); }

  void setRows(const QList<Row>& list) {
    query::model::InternalChange change(rows());
    rows().replaceAll(list);
  }

  // Clicks "&Aggiungi tabella" with `script` driving the add-table dialog.
  void addTable(const ScriptedPrompter::DialogScript& script) {
    prompter_.script(script);
    control<QPushButton>(*form_, "ButtonAggiungiTabella")->click();
    EXPECT_FALSE(rows().internalChange());
  }

  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
  ScriptedPrompter prompter_;
  ScopedPrompter installed_{prompter_};
  std::unique_ptr<TIBLQueryForm> form_;
};

// Picks `row` of a grid and presses F3 on it.
void pressF3(QTableWidget* grid, int row) {
  grid->setCurrentCell(row, 0);
  QTest::keyClick(grid, Qt::Key_F3);
}

TEST_F(JoinedTablesDialogsTest, AddTableChecksThenAppendsTheJoin) {
  addTable([&](QDialog& dialog) {
    auto& form = static_cast<TIBAggForm&>(dialog);
    EXPECT_TRUE(rows().internalChange());
    EXPECT_EQ(form.windowTitle(), "Aggiungi tabella - Ditta: DEMO");
    EXPECT_EQ(form.height(), 120);
    EXPECT_FALSE(form.joinPart()->isVisible());
    EXPECT_TRUE(form.EditNomeTabella()->isReadOnly());

    // The table list offers the tables, not the views nor the work tables;
    // Apri takes the selected one.
    prompter_.script([](QDialog& list) {
      auto* names = control<QListWidget>(list, "ListBox1");
      QStringList offered;
      for (int i = 0; i < names->count(); ++i) offered << names->item(i)->text();
      EXPECT_EQ(offered, QStringList({"CLIENTI", "ETICHETTE", "LANCISTAMPA"}));
      names->setCurrentRow(2);
      return clickButton(list, "ButtonOk");
    });
    control<QPushButton>(form, "ButtonTabella")->click();
    EXPECT_EQ(form.EditNomeTabella()->text(), "LANCISTAMPA");
    EXPECT_TRUE(form.joinPart()->isVisible());
    EXPECT_EQ(form.height(), 535);
    EXPECT_EQ(form.EditNomeCampiTabPrincipale()->count(), 3);
    EXPECT_EQ(form.EditNomeCampiTabCollegata()->count(), 3);
    EXPECT_EQ(form.RadioModalitaJoin()->ItemIndex(), 0);

    control<QPushButton>(form, "ButtonRiporta")->click();
    form.EditNomeCampiTabPrincipale()->setCurrentText("ID");
    form.EditNomeCampiTabCollegata()->setCurrentText("ID");
    control<QPushButton>(form, "ButtonAggiungi")->click();
    control<QPushButton>(form, "ButtonAggiungi")->click();
    EXPECT_EQ(form.TabQuTmp1().size(), 1);
    // A second pair, taken out again through the list's navigator.
    form.EditNomeCampiTabCollegata()->setCurrentText("NOTE");
    control<QPushButton>(form, "ButtonAggiungi")->click();
    auto* navigator = control<QWidget>(form, "NavigatorCollegamenti");
    control<QPushButton>(*navigator, "ButtonFirst")->click();
    control<QPushButton>(*navigator, "ButtonNext")->click();
    control<QPushButton>(*navigator, "ButtonDelete")->click();
    EXPECT_EQ(form.TabQuTmp1(), QList<query::model::KeyPair>({{"ID", "ID"}}));
    control<QPushButton>(form, "ButtonRiporta")->click();

    auto* fields = control<QTableWidget>(form, "GridCampi");
    control<QPushButton>(form, "ButtonSelezionaTutto")->click();
    pressF3(fields, 0);                    // ID back to 0
    emit fields->cellDoubleClicked(2, 0);  // DATA back to 0
    EXPECT_EQ(fields->item(1, 1)->text(), "1");
    form.RadioModalitaJoin()->setItemIndex(2);
    return clickButton(dialog, "ButtonRiporta");
  });
  EXPECT_EQ(prompter_.texts(),
            QStringList({"Si prega di creare almeno un collegamento!!",
                         "Si prega di scegliere almeno un campo da visualizzare!!"}));
  EXPECT_EQ(
      rows().rows().mid(3),
      QList<Row>({{4, "LANCISTAMPA = A", 9, "P"}, {5, "A.ID", 8, "ID"}, {6, "A.NOTE", 1, ""}}));
}

TEST_F(JoinedTablesDialogsTest, ALockedQueryTakesNoTable) {
  form_->flags().locked = true;
  control<QPushButton>(*form_, "ButtonAggiungiTabella")->click();
  EXPECT_EQ(prompter_.texts(),
            QStringList{"Attenzione: operazione non possibile, la Query è bloccata!"});
  EXPECT_TRUE(prompter_.dialogs().isEmpty());
  EXPECT_EQ(rows().count(), 3);
}

TEST_F(JoinedTablesDialogsTest, AddTableRefusesOnlyATableLeftJoinedByName) {
  struct Case {
    int mostra;
    const char* option;
    bool refused;
  };
  for (const Case& c : {Case{9, "", true}, Case{9, "P", false}, Case{3, "", false}}) {
    SCOPED_TRACE(c.mostra);
    prompter_.reset();
    setRows({{1, "ID", 1, ""}, {2, "CLIENTI = A", c.mostra, c.option}, {3, "A.ID", 8, "ID"}});
    addTable([&](QDialog& dialog) {
      auto& form = static_cast<TIBAggForm&>(dialog);
      form.EditNomeTabella()->setText("CLIENTI");
      EXPECT_EQ(form.EditNomeTabella()->text(), c.refused ? "" : "CLIENTI");
      EXPECT_EQ(form.joinPart()->isVisible(), !c.refused);
      return clickButton(dialog, "ButtonChiudi");
    });
    EXPECT_EQ(prompter_.texts(), c.refused ? QStringList{kAlreadyJoined} : QStringList());
    EXPECT_EQ(rows().count(), 3);
  }
}

TEST_F(JoinedTablesDialogsTest, AnUnknownTableIsRefusedOnceAndNothingIsAdded) {
  const QList<Row> before = rows().rows();
  addTable([&](QDialog& dialog) {
    auto& form = static_cast<TIBAggForm&>(dialog);
    form.EditNomeTabella()->setText("LANCISTAMPA");
    EXPECT_TRUE(form.joinPart()->isVisible());
    // A name cut short, as a narrow column would leave it.
    form.EditNomeTabella()->setText("LANCISTAMP");
    EXPECT_EQ(form.EditNomeTabella()->text(), "");
    EXPECT_FALSE(form.joinPart()->isVisible());
    EXPECT_TRUE(form.TabQuTmp2().isEmpty());
    EXPECT_EQ(form.height(), 120);
    return clickButton(dialog, "ButtonChiudi");
  });
  ASSERT_EQ(prompter_.messages().size(), 1u);
  EXPECT_EQ(prompter_.messages().front().kind, ui::MessageKind::Error);
  EXPECT_TRUE(prompter_.texts().front().contains("LANCISTAMP"));
  EXPECT_EQ(rows().rows(), before);
}

TEST_F(JoinedTablesDialogsTest, AnnullaHidesTheJoinPartAndKeepsTheChoices) {
  addTable([&](QDialog& dialog) {
    auto& form = static_cast<TIBAggForm&>(dialog);
    form.EditNomeTabella()->setText("CLIENTI");
    control<QPushButton>(form, "ButtonSelezionaTutto")->click();
    control<QPushButton>(form, "ButtonAnnulla")->click();
    EXPECT_FALSE(form.joinPart()->isVisible());
    EXPECT_EQ(form.height(), 120);
    EXPECT_EQ(form.EditNomeTabella()->text(), "CLIENTI");
    EXPECT_EQ(form.TabQuTmp2().at(1).mostra, 1);
    EXPECT_EQ(form.focusWidget(), form.EditNomeTabella());
    return clickButton(dialog, "ButtonChiudi");
  });
  EXPECT_EQ(rows().count(), 3);
}

class VisibleFieldsTest : public JoinedTablesDialogsTest {
 protected:
  // ETICHETTE with LANCISTAMPA left-joined as A, and a condition longer
  // than the dialog's narrow columns.
  void SetUp() override {
    JoinedTablesDialogsTest::SetUp();
    setRows({{1, "ID", 1, ""},
             {2, "CODICE", 0, longCondition_},
             {3, "QTA", 0, ""},
             {4, "LANCISTAMPA = A", 9, ""},
             {5, "A.ID", 8, "ID"},
             {6, "A.NOTE", 1, ""}});
  }

  int run(const ScriptedPrompter::DialogScript& script) {
    prompter_.script(script);
    TIBCamVisForm dialog(form_.get(), "DEMO", "ETICHETTE", rows(), *database_, *transaction_);
    return ui::runDialog(dialog);
  }

  const QString longCondition_ = "LIKE '" + QString(300, 'x') + "%'";
};

TEST_F(VisibleFieldsTest, RebuildsTheRowsOfTheSelectedTables) {
  const int result = run([&](QDialog& dialog) {
    auto& form = static_cast<TIBCamVisForm&>(dialog);
    EXPECT_EQ(form.windowTitle(), "Elaborazione Campi Visibili - Ditta: DEMO");
    EXPECT_EQ(form.size(), QSize(250, 300));
    auto* tables = control<QTableWidget>(form, "GridTabelle");
    EXPECT_EQ(tables->rowCount(), 2);
    if (tables->rowCount() != 2) return 2;
    EXPECT_EQ(tables->item(1, 0)->text(), "LANCISTAMPA");
    EXPECT_EQ(tables->item(1, 1)->text(), "A");

    control<QPushButton>(form, "ButtonMostraCampi")->click();
    pressF3(tables, 0);
    emit tables->cellDoubleClicked(1, 0);
    pressF3(tables, 1);  // LANCISTAMPA not selected after all
    control<QPushButton>(form, "ButtonMostraCampi")->click();
    EXPECT_EQ(form.size(), QSize(640, 480));
    EXPECT_FALSE(control<QPushButton>(form, "ButtonMostraCampi")->isVisible());
    pressF3(tables, 1);  // frozen
    EXPECT_FALSE(form.TabCVTmp1().at(1).selezione);

    auto* fields = control<QTableWidget>(form, "GridCampi");
    EXPECT_EQ(form.TabCVTmp2(), QList<query::model::FieldLine>(
                                    {{"ETICHETTE", 9}, {"ID", 2}, {"CODICE", 2}, {"QTA", 1}}));
    pressF3(fields, 3);  // QTA out
    pressF3(fields, 0);  // the header stays
    control<QPushButton>(form, "ButtonRendiInvisibili")->click();
    EXPECT_EQ(fields->item(3, 1)->text(), "0");
    control<QPushButton>(form, "ButtonRendiVisibili")->click();
    emit fields->cellDoubleClicked(3, 0);
    return clickButton(dialog, "ButtonAggiorna");
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(prompter_.texts(), QStringList{"Selezionare almeno una tabella per proseguire"});
  EXPECT_EQ(rows().rows(), QList<Row>({{1, "ID", 1, ""},
                                       {2, "CODICE", 0, longCondition_},
                                       {3, "LANCISTAMPA = A", 9, ""},
                                       {4, "A.ID", 8, "ID"},
                                       {5, "A.NOTE", 1, ""}}));
}

TEST_F(VisibleFieldsTest, ClosingOrAnUnknownTableLeavesTheRows) {
  setRows({{1, "ID", 1, ""}, {2, "LANCISTAMP = A", 9, ""}, {3, "A.ID", 8, "ID"}});
  const QList<Row> before = rows().rows();
  EXPECT_EQ(run([&](QDialog& dialog) {
              auto* tables = control<QTableWidget>(dialog, "GridTabelle");
              pressF3(tables, 0);
              pressF3(tables, 1);
              control<QPushButton>(dialog, "ButtonMostraCampi")->click();
              EXPECT_TRUE(control<QPushButton>(dialog, "ButtonMostraCampi")->isVisible());
              EXPECT_EQ(dialog.size(), QSize(250, 300));
              return clickButton(dialog, "ButtonChiudi");
            }),
            2);
  ASSERT_EQ(prompter_.messages().size(), 1u);
  EXPECT_EQ(prompter_.messages().front().kind, ui::MessageKind::Error);
  EXPECT_EQ(rows().rows(), before);

  prompter_.reset();
  EXPECT_EQ(run([&](QDialog& dialog) {
              pressF3(control<QTableWidget>(dialog, "GridTabelle"), 0);
              control<QPushButton>(dialog, "ButtonMostraCampi")->click();
              control<QPushButton>(dialog, "ButtonRendiInvisibili")->click();
              return clickButton(dialog, "ButtonAnnulla");
            }),
            2);
  EXPECT_TRUE(prompter_.texts().isEmpty());
  EXPECT_EQ(rows().rows(), before);
}

}  // namespace
