#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "GridFixture.h"
#include "grid/AvQuovGrForm.h"
#include "grid/ColorCode.h"
#include "grid/GridModel.h"
#include "grid/PQuovGridForm.h"
#include "grid/RQuovGridForm.h"

using grid::LayoutRowsModel;

namespace {

class PersonalisationTest : public GridTest {
 protected:
  void personalise(GridHost& host, std::function<void(TPQuovGridForm&)> script) {
    prompter_.script([script](QDialog& dialog) {
      script(dynamic_cast<TPQuovGridForm&>(dialog));
      return 1;
    });
    host.grid.PersonalizzaGriglia();
  }
  void answerWarning(const char* button) {
    prompter_.script([button](QDialog& dialog) {
      EXPECT_EQ(dialog.windowTitle(), "Avviso");
      EXPECT_TRUE(dynamic_cast<TAvQuovGrForm&>(dialog).BitBtn1->isDefault());
      return clickButton(dialog, button);
    });
  }
};

int rowOf(const LayoutRowsModel& model, const QString& field) {
  for (int i = 0; i < model.rowCount(); ++i)
    if (model.rows()[std::size_t(i)].nomeCampo == field) return i;
  return -1;
}

}  // namespace

TEST_F(PersonalisationTest, HidingRetitlingAndColoursReachTheGridWhenTheWindowCloses) {
  GridHost host(*database_, kEtichette, "ETICHETTE");
  QFont big = host.grid.font();
  big.setPointSize(14);
  host.grid.setFont(big);
  host.open();
  host.grid.SalvaAspettoColonne();
  run("UPDATE STOASP1 SET COLORECOLONNA=255 WHERE NOMECAMPO='CAUSALE'");
  prompter_.color(QColor(0, 0, 255));
  takeStatements({});

  personalise(host, [&](TPQuovGridForm& form) {
    EXPECT_EQ(form.windowTitle(), "Personalizzazione Griglia");
    EXPECT_EQ(form.font().pointSize(), 10);
    LayoutRowsModel& model = *form.rowsModel();
    ASSERT_EQ(model.rowCount(), 17);
    EXPECT_TRUE(form.DBGrid1->isColumnHidden(LayoutRowsModel::Posizione));
    EXPECT_FALSE(model.flags(model.index(0, LayoutRowsModel::NomeCampo)) & Qt::ItemIsEditable);
    EXPECT_EQ(model.rows()[std::size_t(rowOf(model, "CAUSALE"))].coloreColonna.toLongLong(), 255);

    const int descrizione = rowOf(model, "DESCRIZIONE");
    form.DBGrid1->setCurrentIndex(model.index(descrizione, LayoutRowsModel::NomeColonna));
    model.setValue(descrizione, LayoutRowsModel::Visibile, 0);
    model.setValue(descrizione, LayoutRowsModel::NomeColonna, "Descr.");
    // Leaving the row writes it.
    const int causale = rowOf(model, "CAUSALE");
    form.DBGrid1->setCurrentIndex(model.index(causale, LayoutRowsModel::NomeColonna));
    form.ButtonColoreDefault->click();
    EXPECT_TRUE(model.rows()[std::size_t(causale)].coloreColonna.isNull());
    form.DBGrid1->setCurrentIndex(
        model.index(rowOf(model, "CODICE"), LayoutRowsModel::NomeColonna));
    form.ButtonCambiaColore->click();
    form.ButtonChiudi->click();
  });
  const auto updates = takeStatements("UPDATE");
  ASSERT_EQ(updates.size(), 3u);
  EXPECT_EQ(updates[0],
            QStringList({"UPDATE \"STOASP1\"", "SET", "NomeCampo='DESCRIZIONE',",
                         "NomeColonna='Descr.',", "ColoreColonna=-2147483643,", "Visibile=0,",
                         "Posizione=4", "WHERE (CodiceSituazione=1)", "AND(CodiceUtente=7)",
                         "AND(Posizione=4)", "AND(CodiceProgetto=123)"}));
  EXPECT_EQ(updates[1][4], "ColoreColonna=NULL,");

  TQuovGrid& grid = host.grid;
  const int descrizione = host.column("DESCRIZIONE");
  EXPECT_TRUE(grid.isColumnHidden(descrizione));
  EXPECT_EQ(grid.model()->headerData(descrizione, Qt::Horizontal).toString(), "Descr.");
  EXPECT_FALSE(grid.model()->index(0, host.column("CAUSALE")).data(Qt::BackgroundRole).isValid())
      << "no colour: the grid's own";
  EXPECT_EQ(grid.model()->index(0, host.column("CODICE")).data(Qt::BackgroundRole).value<QColor>(),
            QColor(0, 0, 255));

  grid.setColumnWidth(host.column("ID"), 33);
  grid.SalvaAspettoColonne();
  const auto rows = storedRows();
  EXPECT_EQ(rows[std::size_t(descrizione)].visibile, 0) << "still hidden after the next save";
  EXPECT_EQ(rows[std::size_t(host.column("CAUSALE"))].coloreColonna, grid::kColoreFinestra);
  EXPECT_EQ(rows[std::size_t(host.column("CODICE"))].coloreColonna, 0xFF0000);
}

TEST_F(PersonalisationTest, CancelInTheWarningLeavesRowsAndPendingEditsAlone) {
  GridHost host(*database_, kEtichette, "ETICHETTE");
  host.open();
  personalise(host, [&](TPQuovGridForm& form) {
    LayoutRowsModel& model = *form.rowsModel();
    const int codice = rowOf(model, "CODICE");
    form.DBGrid1->setCurrentIndex(model.index(codice, LayoutRowsModel::NomeColonna));
    model.setValue(codice, LayoutRowsModel::NomeColonna, "Codice articolo");
    answerWarning("BitBtn2");
    form.ButtonAspettoBase->click();
    EXPECT_EQ(model.rowCount(), 17);
    EXPECT_TRUE(model.rows()[std::size_t(codice)].changed) << "the edit is still pending";
    form.ButtonChiudi->click();
  });
  EXPECT_EQ(storedRows()[std::size_t(host.column("CODICE"))].nomeColonna, "Codice articolo");
  EXPECT_EQ(storedRows().size(), 17u);
}

TEST_F(PersonalisationTest, AspettoBaseGivesBackTheDefaultLayoutWithoutKeysOrSearch) {
  {
    GridHost first(*database_, kEtichette, "ETICHETTE");
    first.open();
    first.doubleClickTitle("CODICE");
    first.grid.setColumnWidth(0, 21);
    first.grid.SalvaAspettoColonne();
  }
  run("UPDATE STOASP1 SET VISIBILE=0, COLORECOLONNA=255, NOMECOLONNA='X' WHERE POSIZIONE=3");
  run("UPDATE STOASP1 SET POSIZIONE=99 WHERE POSIZIONE=0");
  run("UPDATE STOASP1 SET POSIZIONE=0 WHERE POSIZIONE=1");
  run("UPDATE STOASP1 SET POSIZIONE=1 WHERE POSIZIONE=99");
  GridHost host(*database_, kEtichette, "ETICHETTE");
  host.open();
  ASSERT_EQ(host.grid.colonne()[0].fieldName, "IDACQUISIZIONE");
  prompter_.script([](QDialog& dialog) {
    QTest::keyClicks(dialog.findChild<QWidget*>("EditStringa"), "C0");
    QTest::keyClick(dialog.findChild<QWidget*>("EditStringa"), Qt::Key_Return);
    return 1;
  });
  host.grid.setCurrentIndex(host.grid.model()->index(0, host.column("CODICE")));
  host.grid.RicercaCampoCorrente();
  ASSERT_FALSE(host.grid.CondizioneRicerca().isEmpty());

  const int savesBefore = host.saves;
  takeStatements({});
  personalise(host, [&](TPQuovGridForm& form) {
    answerWarning("BitBtn1");
    form.ButtonAspettoBase->click();
    EXPECT_FALSE(host.grid.RipristinoInCorso);
    const auto& rows = form.rowsModel()->rows();
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_EQ(rows[0].nomeCampo, "ID");
    EXPECT_EQ(rows[1].nomeCampo, "IDACQUISIZIONE");
    for (const auto& row : rows) {
      EXPECT_EQ(row.visibile.toInt(), 1);
      EXPECT_EQ(row.coloreColonna.toLongLong(), grid::kColoreFinestra);
      EXPECT_EQ(row.nomeColonna.toString(), row.nomeCampo);
    }
    form.ButtonChiudi->click();
  });
  const auto deletes = takeStatements("DELETE FROM \"STOASP1\"");
  ASSERT_FALSE(deletes.empty());
  EXPECT_EQ(deletes.front(), QStringList({"DELETE FROM \"STOASP1\"", "WHERE (CodiceSituazione=1)",
                                          "AND (CodiceUtente=7)", "AND (CodiceProgetto=123)"}));
  EXPECT_EQ(host.saves, savesBefore) << "the host does not save while the layout is reset";
  EXPECT_TRUE(host.grid.CondizioneRicerca().isEmpty());
  EXPECT_EQ(host.lastOpened(), QStringList({kEtichette[0], "ORDER BY ETICHETTE.ID"}))
      << "no ordering key is left";
  for (const auto& row : storedRows()) EXPECT_FALSE(row.ordinamento.has_value());
  EXPECT_NE(host.grid.columnWidth(0), 21);
  EXPECT_FALSE(host.grid.isColumnHidden(3));
}
