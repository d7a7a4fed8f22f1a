#include <QHeaderView>
#include <QTest>
#include <map>

#include "GridFixture.h"
#include "grid/ColorCode.h"
#include "grid/GridModel.h"

using grid::LayoutRow;

namespace {

class LayoutTest : public GridTest {};

void activate(TQuovGrid& grid) {
  grid.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
  grid.setFocus();
}

}  // namespace

TEST_F(LayoutTest, WithoutRowsTheDefaultsStayAndTheFirstSaveWritesOneRowPerColumn) {
  GridHost host(*database_, kEtichette, "ETICHETTE");
  host.open();
  ASSERT_EQ(host.grid.colonne().size(), 17u);
  EXPECT_EQ(host.grid.colonne()[2].fieldName, "CODICE");
  EXPECT_TRUE(storedRows().empty());

  host.grid.SalvaAspettoColonne();
  const auto rows = storedRows();
  ASSERT_EQ(rows.size(), 17u);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].posizione, int(i));
    EXPECT_EQ(rows[i].larghezza, host.grid.columnWidth(int(i)));
    EXPECT_EQ(rows[i].visibile, 1);
    EXPECT_EQ(rows[i].coloreColonna, grid::kColoreFinestra) << "the grid's own colour";
    EXPECT_FALSE(rows[i].ordinamento.has_value());
  }
  EXPECT_EQ(rows[2].nomeCampo, "CODICE");
  EXPECT_EQ(rows[2].origine, "ETICHETTE.CODICE");
  EXPECT_EQ(rows[2].nomeColonna, "CODICE");

  takeStatements({});
  host.grid.SalvaAspettoColonne();
  EXPECT_TRUE(takeStatements("DELETE FROM").empty()) << "unchanged rows are not rewritten";
}

TEST_F(LayoutTest, ReorderedHiddenNarrowedAndColouredColumnsRoundTrip) {
  const auto put = [this](const LayoutRow& row) {
    run(grid::layout::insertRow("STOASP1", {1, 7, 123}, row).join('\n'));
  };
  put({"CODICE", "ETICHETTE.CODICE", 0, 90, "Codice", 0, 1, {}});
  put({"DESCRIZIONE", "ETICHETTE.DESCRIZIONE", 1, 120, "Descrizione", 0, 0, {}});
  put({"ID", "ETICHETTE.ID", 2, 37, "Numero", 0, 1, {}});
  put({"CAUSALE", "ETICHETTE.CAUSALE", 3, 60, "Causale", 0x0000FF00, 1, {}});
  put({"NONESISTE", "", 99, 10, "?", 0, 1, {}});  // skipped: unknown field, no such position

  GridHost host(*database_, kEtichette, "ETICHETTE");
  host.open();
  const auto check = [](GridHost& shown, int narrowed) {
    TQuovGrid& grid = shown.grid;
    ASSERT_EQ(grid.colonne().size(), 17u);
    QStringList order;
    for (int i = 0; i < 5; ++i) order << grid.colonne()[std::size_t(i)].fieldName;
    EXPECT_EQ(order, QStringList({"CODICE", "DESCRIZIONE", "ID", "CAUSALE", "IDACQUISIZIONE"}));
    EXPECT_FALSE(grid.isColumnHidden(0));
    EXPECT_TRUE(grid.isColumnHidden(1));
    EXPECT_EQ(grid.columnWidth(0), 90);
    EXPECT_EQ(grid.columnWidth(2), 37);
    EXPECT_EQ(grid.model()->headerData(2, Qt::Horizontal).toString(), "Numero");
    EXPECT_EQ(grid.model()->headerData(3, Qt::Horizontal).toString(), "Causale");
    EXPECT_EQ(grid.model()->data(grid.model()->index(0, 3), Qt::BackgroundRole).value<QColor>(),
              QColor(0, 255, 0));
    EXPECT_FALSE(grid.model()->data(grid.model()->index(0, 0), Qt::BackgroundRole).isValid());
    if (narrowed >= 0) {
      EXPECT_EQ(grid.columnWidth(shown.column("DATIPRODOTTO")), narrowed);
    }
  };
  check(host, -1);

  // The user narrows a column; the host saves when the query closes.
  host.grid.setColumnWidth(host.column("DATIPRODOTTO"), 50);
  host.query.close();
  EXPECT_EQ(host.saves, 1);
  const auto rows = storedRows();
  ASSERT_EQ(rows.size(), 17u);
  EXPECT_EQ(rows[1].visibile, 0);
  EXPECT_EQ(rows[3].coloreColonna, 0x0000FF00);
  EXPECT_EQ(rows[0].coloreColonna, grid::kColoreFinestra);
  EXPECT_EQ(rows[5].nomeCampo, "DATIPRODOTTO");
  EXPECT_EQ(rows[5].larghezza, 50);

  GridHost again(*database_, kEtichette, "ETICHETTE");
  again.open();
  check(again, 50);
}

TEST_F(LayoutTest, F9HalvesAColumnAndADraggedTitleMovesItsColumn) {
  GridHost host(*database_, kEtichette, "ETICHETTE");
  host.open();
  activate(host.grid);
  const int codice = host.column("CODICE");
  host.grid.setColumnWidth(codice, 75);
  host.grid.setCurrentIndex(host.grid.model()->index(0, codice));
  QTest::keyClick(&host.grid, Qt::Key_F9);
  EXPECT_EQ(host.grid.columnWidth(codice), 37);
  QTest::keyClick(&host.grid, Qt::Key_F9);
  EXPECT_EQ(host.grid.columnWidth(codice), 18);
  host.grid.SalvaAspettoColonne();
  EXPECT_EQ(storedRows()[std::size_t(codice)].larghezza, 18);

  // The user drags the CODICE title to the front.
  host.grid.horizontalHeader()->moveSection(codice, 0);
  EXPECT_EQ(host.grid.colonne()[0].fieldName, "CODICE");
  EXPECT_EQ(host.grid.horizontalHeader()->visualIndex(0), 0);
  EXPECT_EQ(host.grid.columnWidth(0), 18);
  host.grid.SalvaAspettoColonne();
  const auto rows = storedRows();
  EXPECT_EQ(rows[0].nomeCampo, "CODICE");
  EXPECT_EQ(rows[1].nomeCampo, "ID");
  EXPECT_EQ(rows[0].larghezza, 18);
}

TEST_F(LayoutTest, OpeningALargeAnswerReadsOnlyWhatTheScreenShows) {
  run(QStringLiteral(
      "EXECUTE BLOCK AS DECLARE I INTEGER = 100; BEGIN WHILE (I < 5100) DO BEGIN "
      "INSERT INTO ETICHETTE (ID, CODICE) VALUES (:I, 'X' || :I); I = I + 1; END END"));
  GridHost host(*database_, kEtichette, "ETICHETTE");
  host.open();
  QCoreApplication::processEvents();
  QTest::qWait(50);
  const int shown = host.grid.model()->rowCount();
  EXPECT_GT(shown, 10);
  EXPECT_LT(host.query.rowCount(), 1000) << "the whole answer was read";
  host.grid.scrollToBottom();
  QTest::qWait(50);
  EXPECT_GT(host.grid.model()->rowCount(), shown) << "scrolling fetches more";
}

TEST_F(LayoutTest, ColoursAreStoredSignedAndReadInBothForms) {
  const auto rawColours = [this] {
    db::Transaction transaction(*database_);
    db::Query query(*database_, transaction);
    query.sql << "SELECT NOMECAMPO, COLORECOLONNA FROM STOASP1 WHERE CODICEUTENTE=7";
    query.open();
    std::map<QString, qint64> colours;
    for (; !query.isEof(); query.next())
      colours[query.text("NOMECAMPO")] = query.value("COLORECOLONNA").toLongLong();
    return colours;
  };
  // Rows stored so far: the grid's own colour unsigned, and signed.
  run("INSERT INTO STOASP1 (CODICESITUAZIONE, CODICEUTENTE, CODICEPROGETTO, NOMECAMPO, ORIGINE, "
      "POSIZIONE, LARGHEZZA, NOMECOLONNA, COLORECOLONNA, VISIBILE) VALUES "
      "(1, 7, 123, 'CODICE', 'ETICHETTE.CODICE', 0, 90, 'Codice', 2147483653, 1)");
  run("INSERT INTO STOASP1 (CODICESITUAZIONE, CODICEUTENTE, CODICEPROGETTO, NOMECAMPO, ORIGINE, "
      "POSIZIONE, LARGHEZZA, NOMECOLONNA, COLORECOLONNA, VISIBILE) VALUES "
      "(1, 7, 123, 'ID', 'ETICHETTE.ID', 1, 40, 'Numero', -2147483643, 1)");
  {
    GridHost host(*database_, kEtichette, "ETICHETTE");
    host.open();
    for (int column : {0, 1})
      EXPECT_FALSE(host.grid.model()
                       ->data(host.grid.model()->index(0, column), Qt::BackgroundRole)
                       .isValid())
          << "column " << column << " has the grid's own colour";
    host.grid.SalvaAspettoColonne();
    ASSERT_EQ(storedRows().size(), 17u);
    EXPECT_EQ(storedRows()[0].coloreColonna, grid::kColoreFinestra);
    EXPECT_EQ(storedRows()[1].coloreColonna, grid::kColoreFinestra);
    EXPECT_EQ(rawColours()["CODICE"], -2147483643) << "written as a signed 32-bit value";
  }

  // A host whose colour column is INTEGER.
  run("DROP TABLE STOASP1");
  run("CREATE TABLE STOASP1 (CODICESITUAZIONE INTEGER NOT NULL, CODICEUTENTE INTEGER NOT NULL, "
      "CODICEPROGETTO INTEGER NOT NULL, NOMECAMPO VARCHAR(63), ORIGINE VARCHAR(127), "
      "POSIZIONE INTEGER NOT NULL, LARGHEZZA INTEGER, NOMECOLONNA VARCHAR(64), "
      "COLORECOLONNA INTEGER, VISIBILE SMALLINT, ORDINAMENTO INTEGER)");
  GridHost host(*database_, kEtichette, "ETICHETTE");
  host.open();
  host.grid.setColumnWidth(3, 33);
  host.query.close();
  const auto rows = storedRows();
  ASSERT_EQ(rows.size(), 17u);
  EXPECT_EQ(rows[3].larghezza, 33);
  EXPECT_EQ(rows[0].coloreColonna, grid::kColoreFinestra);
  EXPECT_EQ(rawColours()["ID"], -2147483643);
}
