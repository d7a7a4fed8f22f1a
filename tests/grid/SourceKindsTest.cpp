#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "GridFixture.h"
#include "db/MemTable.h"
#include "db/Table.h"
#include "grid/RQuovGridForm.h"
#include "grid/RadioGroup.h"

namespace {

class SourceKindsTest : public GridTest {
 protected:
  void prepare(TQuovGrid& grid) {
    grid.Situazione = 2;
    grid.Utente = 7;
    grid.CodiceProgetto = 123;
    grid.resize(600, 300);
    grid.show();
  }
  void search(TQuovGrid& grid, int column, std::function<int(TRQuovGridForm&)> script) {
    grid.setCurrentIndex(grid.model()->index(0, column));
    prompter_.script(
        [script](QDialog& dialog) { return script(dynamic_cast<TRQuovGridForm&>(dialog)); });
    grid.RicercaCampoCorrente();
  }
};

QStringList column(const TQuovGrid& grid, int at) {
  QStringList values;
  for (int row = 0; row < grid.model()->rowCount(); ++row)
    values << grid.model()->index(row, at).data().toString();
  return values;
}

}  // namespace

TEST_F(SourceKindsTest, InMemoryDataIsSortedAndFilteredInPlace) {
  run("INSERT INTO SETGRID (CODICEUTENTE, CODICEPROGETTO, ABILITATIMERRIC) VALUES (7, 123, 0)");
  db::MemTable data;
  data.addField("CODICE", db::FieldType::String, 20);
  data.addField("QTA", db::FieldType::Integer);
  TQuovGrid grid;
  prepare(grid);
  grid.DatabaseImpostazioni = database_.get();
  grid.SetSorgenteDati(&data);
  EXPECT_EQ(grid.TipoTabella(), TQuovGrid::SorgenteMemoria);
  data.open();
  for (const auto& [code, quantity] : std::vector<std::pair<QString, int>>{
           {"Maglia", 4}, {"giubbotto", 3}, {"abito", 1}, {"Giacca", 2}}) {
    data.append();
    data.setValue("CODICE", code);
    data.setValue("QTA", quantity);
    data.post();
  }
  ASSERT_EQ(grid.model()->rowCount(), 4);

  grid.OrdinaPerTitolo(0, false);
  EXPECT_EQ(column(grid, 0), QStringList({"abito", "Giacca", "giubbotto", "Maglia"}));
  grid.OrdinaPerTitolo(0, false);
  EXPECT_EQ(column(grid, 0), QStringList({"Maglia", "giubbotto", "Giacca", "abito"}));

  search(grid, 0, [&](TRQuovGridForm& form) {
    EXPECT_FALSE(form.EditGenerica->isEnabled()) << "all-columns search is for queries";
    form.EditTipoRicerca->setItemIndex(grid::ModoContiene);
    QTest::keyClicks(form.EditStringa, "gi");
    EXPECT_EQ(column(grid, 0), QStringList({"Giacca", "giubbotto"}));
    form.EditOrdinamento->setItemIndex(grid::OrdineDecres);
    form.ButtonAggRete->click();
    EXPECT_EQ(column(grid, 0), QStringList({"giubbotto", "Giacca"}));
    QTest::keyClick(form.EditStringa, Qt::Key_Escape);
    return 2;
  });
  EXPECT_EQ(grid.model()->rowCount(), 4) << "Escape removes an in-memory filter";

  search(grid, 0, [&](TRQuovGridForm& form) {
    QTest::keyClicks(form.EditStringa, "ma");
    QTest::keyClick(form.EditStringa, Qt::Key_Return);
    return 1;
  });
  EXPECT_EQ(column(grid, 0), QStringList({"Maglia"})) << "the filter stays after the window";
  grid.AnnullaRicerca();
  EXPECT_EQ(grid.model()->rowCount(), 4);
}

TEST_F(SourceKindsTest, ADatabaseTableIsOrderedByIndexFieldNamesAndFiltered) {
  run("INSERT INTO SETGRID (CODICEUTENTE, CODICEPROGETTO, ABILITATIMERRIC) VALUES (7, 123, 0)");
  db::Transaction transaction(*database_);
  db::Table table(*database_, transaction, "MOVIMENTI");
  TQuovGrid grid;
  prepare(grid);
  grid.SetSorgenteDati(&table);
  EXPECT_EQ(grid.TipoTabella(), TQuovGrid::SorgenteTabella);
  table.open();
  EXPECT_EQ(grid.CampiIndicizzati, "ID") << "rebuilt from the table's indexes";
  EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal, Qt::BackgroundRole).value<QColor>(),
            QColor(255, 255, 0));

  grid.OrdinaPerTitolo(1, false);
  EXPECT_EQ(prompter_.texts().size(), 1) << "CODICE is not indexed: the large-table rule refuses";
  grid.TabellaPiccola = true;
  grid.OrdinaPerTitolo(1, false);
  EXPECT_EQ(table.indexFieldNames(), "CODICE");
  EXPECT_EQ(table.sql, QStringList({"SELECT * FROM MOVIMENTI", "ORDER BY CODICE"}));
  EXPECT_EQ(column(grid, 1), QStringList({"ab1", "xab", "zz"}));

  search(grid, 2, [&](TRQuovGridForm& form) {
    EXPECT_EQ(form.EditTipoRicerca->items().size(), 3) << "table fields count as text";
    QTest::keyClicks(form.EditStringa, "50");
    QTest::keyClick(form.EditStringa, Qt::Key_Return);
    return 1;
  });
  EXPECT_EQ(table.indexFieldNames(), "QTA");
  EXPECT_EQ(column(grid, 2), QStringList({"7", "50"}))
      << "text comparison in the filter (5 < 50 <= 7), numeric order by the index field";
  grid.AnnullaRicerca();
  EXPECT_EQ(grid.model()->rowCount(), 3);
}
