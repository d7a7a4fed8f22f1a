#include <QAction>
#include <QMenu>
#include <QTest>

#include "GridFixture.h"
#include "db/MemTable.h"
#include "db/Table.h"

namespace {

class MenuTest : public GridTest {};

QStringList captions(const QMenu& menu) {
  QStringList result;
  for (const QAction* action : menu.actions())
    result << (action->isSeparator() ? QStringLiteral("-") : action->text());
  return result;
}

// Lets the menu decide its items' state, as it does when it pops up.
void popUp(QMenu& menu) {
  emit menu.aboutToShow();
}

bool enabled(QMenu& menu, const QString& caption) {
  for (const QAction* action : menu.actions())
    if (action->text() == caption) return action->isEnabled();
  ADD_FAILURE() << "no item " << caption.toStdString();
  return false;
}

const QStringList kItems{"Ricerca su campo Corrente", "Annulla ricerca",
                         "Ricerca su chiave ",        "Query",
                         "Dimezza larghezza colonna", "Personalizza Griglia"};

}  // namespace

TEST_F(MenuTest, ItemsShortcutsAndAHostMenu) {
  GridHost host(*database_, kEtichette, "ETICHETTE");
  QMenu& own = *host.grid.popupMenu();
  EXPECT_EQ(captions(own), kItems);
  QStringList keys;
  for (const QAction* action : own.actions()) keys << action->shortcut().toString();
  EXPECT_EQ(keys, QStringList({"F5", "F6", "F7", "F8", "F9", ""}));
  EXPECT_FALSE(own.actions()[2]->isVisible());

  popUp(own);
  for (const QString& item : kItems.mid(1)) EXPECT_FALSE(enabled(own, item)) << "source closed";
  EXPECT_TRUE(enabled(own, kItems[0])) << "F5 follows only AbilitaRicercaCampo";
  host.open();
  host.grid.AbilitaRicercaCampo = false;
  popUp(own);
  EXPECT_FALSE(enabled(own, kItems[0]));
  EXPECT_TRUE(enabled(own, "Annulla ricerca"));
  EXPECT_TRUE(enabled(own, "Query"));

  QMenu hostMenu;
  int hostHandler = 0;
  QObject::connect(&hostMenu, &QMenu::aboutToShow, [&] { ++hostHandler; });
  hostMenu.addAction("Seleziona");
  host.grid.setPopupMenu(&hostMenu);
  EXPECT_EQ(host.grid.popupMenu(), &hostMenu);
  EXPECT_EQ(captions(hostMenu), QStringList({"Seleziona", "-"}) + kItems);
  popUp(hostMenu);
  EXPECT_EQ(hostHandler, 1) << "the host's own handler still runs";
  EXPECT_TRUE(enabled(hostMenu, "Personalizza Griglia"));
}

TEST_F(MenuTest, QueryNeedsABaseTableAndHandsItToTheDesigner) {
  GridHost host(*database_, kEtichette, "");
  host.open();
  popUp(*host.grid.popupMenu());
  EXPECT_FALSE(enabled(*host.grid.popupMenu(), "Query"))
      << "no base table and no quoted table name in the statement";

  GridHost quoted(*database_, {"SELECT * FROM \"ETICHETTE\""}, "", 8);
  quoted.open();
  popUp(*quoted.grid.popupMenu());
  EXPECT_TRUE(enabled(*quoted.grid.popupMenu(), "Query"));

  RichiestaInterrogazione seen;
  QString table;
  bool open = false;
  TQuovGrid::setApriInterrogazione([&](const RichiestaInterrogazione& richiesta) {
    seen = richiesta;
    table = richiesta.tabella->tableName();
    open = richiesta.tabella->isActive();
  });
  quoted.grid.DirectoryBin = "C:\\bin\\";
  quoted.grid.SezioneIni = "DEMO SRL";
  quoted.grid.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&quoted.grid));
  quoted.grid.setFocus();
  QTest::keyClick(&quoted.grid, Qt::Key_F8);
  TQuovGrid::setApriInterrogazione(nullptr);
  EXPECT_EQ(table, "ETICHETTE");
  EXPECT_TRUE(open);
  EXPECT_EQ(seen.utente, 8);
  EXPECT_EQ(seen.directoryBin, "C:\\bin\\");
  EXPECT_EQ(seen.sezioneIni, "DEMO SRL");
  EXPECT_EQ(seen.database, database_.get());
}

TEST_F(MenuTest, SettingsRowAndItsDefaults) {
  {
    GridHost host(*database_, kEtichette, "ETICHETTE");
    const grid::GridSettings& settings = host.grid.impostazioni();
    EXPECT_EQ(settings.coloreRecordSelez, 0x80000001);
    EXPECT_EQ(settings.coloreCampiIndic, 0x0000FFFF);
    EXPECT_EQ(settings.coloreCampoOrd, 0x000000FF);
    EXPECT_TRUE(settings.abilitaTimerRic);
    EXPECT_FALSE(settings.abilitaRicF5Sempre);
  }
  run("INSERT INTO SETGRID VALUES (7, 123, 65280, 0, 16711680, NULL, 1)");
  GridHost host(*database_, kEtichette, "ETICHETTE");
  const grid::GridSettings& settings = host.grid.impostazioni();
  EXPECT_EQ(host.grid.ColoreRecordSelezionato(), QColor(0, 255, 0));
  EXPECT_EQ(settings.coloreCampiIndic, 0x0000FFFF) << "0 means yellow";
  EXPECT_EQ(settings.coloreCampoOrd, 0xFF0000);
  EXPECT_FALSE(settings.abilitaTimerRic) << "a row without 1 runs the search at every keystroke";
  EXPECT_TRUE(settings.abilitaRicF5Sempre);
  const auto reads = takeStatements("SELECT * FROM \"SETGRID\"");
  ASSERT_FALSE(reads.empty());
  EXPECT_EQ(reads.back(), QStringList({"SELECT * FROM \"SETGRID\"", "WHERE (CodiceUtente=7)",
                                       "AND (CodiceProgetto=123)"}));
}

TEST_F(MenuTest, InMemoryDataIsCopiedIntoTheSupportTableForTheDesigner) {
  run("CREATE TABLE COPIA (CODICE VARCHAR(20), QTA INTEGER, DATA DATE)");
  run("INSERT INTO COPIA VALUES ('vecchio', 0, NULL)");
  db::MemTable data;
  data.addField("CODICE", db::FieldType::String, 20);
  data.addField("QTA", db::FieldType::Integer);
  data.addField("DATA", db::FieldType::Date);
  db::Transaction transaction(*database_);
  db::Table support(*database_, transaction, "COPIA");
  TQuovGrid grid;
  grid.DatabaseImpostazioni = database_.get();
  grid.TabellaAppoggio = &support;
  grid.SetSorgenteDati(&data);
  data.open();
  data.append();
  data.setValue("CODICE", "L'abito");
  data.setValue("QTA", 3);
  data.setValue("DATA", QDate(2024, 12, 31));
  data.post();
  data.append();
  data.post();

  popUp(*grid.popupMenu());
  EXPECT_FALSE(enabled(*grid.popupMenu(), "Query")) << "in-memory data needs a base table";
  grid.TabellaBase = "COPIA";
  QStringList copied;
  int user = -1;
  TQuovGrid::setApriInterrogazione([&](const RichiestaInterrogazione& richiesta) {
    user = richiesta.utente;
    richiesta.tabella->fetchMore(10);
    for (int row = 0; row < richiesta.tabella->rowCount(); ++row)
      copied << richiesta.tabella->value(row, 0).toString() + "|" +
                    richiesta.tabella->value(row, 1).toString() + "|" +
                    richiesta.tabella->value(row, 2).toDate().toString("yyyy-MM-dd");
  });
  grid.ApriQuery();
  TQuovGrid::setApriInterrogazione(nullptr);
  EXPECT_EQ(user, 0);
  EXPECT_EQ(copied, QStringList({"L'abito|3|2024-12-31", "||"}));
}
