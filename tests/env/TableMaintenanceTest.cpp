#include <gtest/gtest.h>

#include <QDate>
#include <QPushButton>

#include "db/EditableTable.h"
#include "env/TabX.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"
#include "support/ScriptedUi.h"

namespace {

const QStringList kSnapshotNoWait{"isc_tpb_concurrency", "isc_tpb_nowait"};

// A window editing the table COLORI of the demo archive in a grid with a
// save button: its own no-wait transaction on the environment's connection.
struct EditingWindow {
  explicit EditingWindow(const HostInstallation& host)
      : env(nullptr, TTabXForm::ModoDatabase),
        transaction((host.openArchive(env.IBDatabase1), env.IBDatabase1), kSnapshotNoWait),
        table(env.IBDatabase1, transaction, "COLORI") {
    table.sql << "ORDER BY ID";
    table.open();
  }
  QStringList ids() {
    QStringList list;
    table.recordCount();
    for (int row = 0; row < table.rowCount(); ++row)
      list << table.db::Query::value(row, 0).toString();
    return list;
  }
  TTabXForm env;
  db::Transaction transaction;
  db::EditableTable table;
  QPushButton salva;
  Posizione posizione;
};

class TableMaintenanceTest : public ::testing::Test {
 protected:
  TableMaintenanceTest() : guard_(prompter_) {
    db::Database archive;
    host_.openArchive(archive);
    runStatement(archive,
                 "CREATE TABLE COLORI (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(20))");
    runStatement(archive, "CREATE GENERATOR GEN_COLORI");
  }
  HostInstallation host_;
  ScriptedPrompter prompter_;
  ScopedPrompter guard_;
};

TEST_F(TableMaintenanceTest, NewRowsTakeTheirKeysFromMaximumLastRowAndGenerators) {
  EditingWindow window(host_);
  window.env.NuovoIntSuMax(window.table, window.posizione, "COLORI", &window.salva);
  EXPECT_EQ(window.ids(), QStringList{"1"}) << "an empty table starts at 1";
  window.env.NuovoIntSuMax(window.table, window.posizione, "COLORI", &window.salva);
  window.env.NuovoIntSuLast(window.table, window.posizione, &window.salva);
  EXPECT_EQ(window.ids(), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(window.salva.property("Tag").toInt(), 0);

  ASSERT_TRUE(
      window.env.SetGeneratore(window.table, window.posizione, "GEN_COLORI", 10, &window.salva));
  window.env.NuovoIntSuGeneratore(window.table, window.posizione, "GEN_COLORI", &window.salva);
  EXPECT_EQ(window.salva.property("Tag").toInt(), 1) << "a generator row waits for the save";
  {
    EditingWindow other(host_);
    EXPECT_EQ(other.ids(), (QStringList{"1", "2", "3"})) << "not committed yet";
  }
  window.env.ChiudiTransEAggiorna(window.table, window.posizione, &window.salva);
  EXPECT_EQ(window.salva.property("Tag").toInt(), 0);
  window.env.NuovoIntSuGenSQL(window.table, window.posizione, "GEN_COLORI", "COLORI",
                              &window.salva);
  EXPECT_EQ(window.ids(), (QStringList{"1", "2", "3", "11", "12"}));
  EXPECT_EQ(window.table.currentRow(), 0) << "back on the first row";

  EXPECT_TRUE(window.env.CheckGeneratore(window.table, "GEN_COLORI"));
  EXPECT_FALSE(window.env.CheckGeneratore(window.table, "GEN_NUOVO"));
  EXPECT_TRUE(
      window.env.CreaGeneratore(window.table, window.posizione, "GEN_NUOVO", &window.salva));
  EXPECT_TRUE(window.env.CheckGeneratore(window.table, "GEN_NUOVO"));
  EXPECT_FALSE(
      window.env.CreaGeneratore(window.table, window.posizione, "GEN_NUOVO", &window.salva));
  EXPECT_FALSE(window.env.CreaGeneratore(window.table, window.posizione, "X;DROP", &window.salva));
  const qint64 first = window.env.ValoreGeneratore("GEN_NUOVO").toLongLong();
  EXPECT_EQ(window.env.ValoreGeneratore("GEN_NUOVO").toLongLong(), first + 1);
  EXPECT_TRUE(prompter_.texts().isEmpty()) << prompter_.texts().join('\n').toStdString();
}

TEST_F(TableMaintenanceTest, CancelDeleteAndEmptyAskFirst) {
  EditingWindow window(host_);
  for (int i = 0; i < 3; ++i)
    window.env.NuovoIntSuMax(window.table, window.posizione, "COLORI", &window.salva);

  window.env.Annulla(window.table, window.posizione, &window.salva);
  EXPECT_TRUE(prompter_.texts().isEmpty()) << "nothing pending, nothing asked";

  window.env.SetGeneratore(window.table, window.posizione, "GEN_COLORI", 50, &window.salva);
  window.env.NuovoIntSuGeneratore(window.table, window.posizione, "GEN_COLORI", &window.salva);
  prompter_.answer(ui::Yes);
  window.env.Annulla(window.table, window.posizione, &window.salva);
  EXPECT_EQ(prompter_.texts(), QStringList{"Conferma l'annullamento delle modifiche apportate?"});
  EXPECT_EQ(window.ids(), (QStringList{"1", "2", "3"})) << "the pending row was discarded";
  EXPECT_EQ(window.salva.property("Tag").toInt(), 0);

  prompter_.reset();
  window.table.locate("ID", 2);
  prompter_.answer(ui::No);
  EXPECT_FALSE(window.env.Elimina(window.table, window.posizione, &window.salva));
  window.table.locate("ID", 2);
  prompter_.answer(ui::Yes);
  EXPECT_TRUE(window.env.Elimina(window.table, window.posizione, &window.salva));
  EXPECT_EQ(window.ids(), (QStringList{"1", "3"}));

  // Deleted meanwhile by another user: a warning, nothing deleted.
  window.table.locate("ID", 3);
  {
    EditingWindow other(host_);
    other.table.locate("ID", 3);
    other.table.remove();
    other.transaction.commit();
  }
  prompter_.reset();
  prompter_.answer(ui::Yes);
  EXPECT_FALSE(window.env.Elimina(window.table, window.posizione, &window.salva));
  EXPECT_EQ(prompter_.texts(),
            (QStringList{"Conferma la cacellazione del record?",
                         "Questo record è già stato cancellato da un altro utente in un'altra "
                         "sessione di lavoro"}));
  EXPECT_EQ(window.ids(), QStringList{"1"});

  prompter_.reset();
  prompter_.answer(ui::Yes);
  window.env.Azzera(window.table, window.posizione, "COLORI", &window.salva);
  EXPECT_TRUE(window.ids().isEmpty());
  EXPECT_FALSE(window.env.Elimina(window.table, window.posizione, &window.salva));
  EXPECT_EQ(prompter_.texts(),
            (QStringList{"Confermare l'azzeramento della tabella?", "La tabella è vuota"}));
  prompter_.reset();
}

TEST_F(TableMaintenanceTest, EditingLocksTheRowAgainstAnotherUserUntilTheSave) {
  EditingWindow first(host_);
  first.env.NuovoIntSuMax(first.table, first.posizione, "COLORI", &first.salva);
  EditingWindow second(host_);
  second.table.locate("ID", 1);
  first.table.locate("ID", 1);

  first.table.setBeforeEdit([&](db::EditableTable& table) {
    return first.env.EventoBeforeEditDataSet(table, &first.salva, "COLORI");
  });
  second.table.setBeforeEdit([&](db::EditableTable& table) {
    return second.env.EventoBeforeEditDataSet(table, &second.salva, "COLORI");
  });
  ASSERT_TRUE(first.table.edit());
  EXPECT_EQ(first.salva.property("Tag").toInt(), 1);
  first.table.setValue("NOME", "Rosso");

  EXPECT_FALSE(second.table.edit()) << "the row is held by the first user";
  EXPECT_EQ(second.salva.property("Tag").toInt(), 0);
  ASSERT_EQ(prompter_.texts().size(), 1);
  EXPECT_TRUE(prompter_.texts()[0].startsWith("Attenzione: altri utenti stanno lavorando"));

  first.env.ChiudiTransEAggiorna(first.table, first.posizione, &first.salva);
  EXPECT_EQ(first.table.text("NOME"), "Rosso");
  second.env.AggiornaTabella(second.table, {1}, true);
  EXPECT_EQ(second.table.text("NOME"), "Rosso");
  EXPECT_TRUE(second.table.edit()) << "free again after the save";

  // Closing without saving rolls the pending work back.
  second.table.setValue("NOME", "Blu");
  second.table.post();
  prompter_.reset();
  prompter_.answer(ui::No);
  second.env.Chiudi(second.table, &second.salva);
  EXPECT_EQ(prompter_.texts(), QStringList{"Salvare le modifiche apportate?"});
  EditingWindow check(host_);
  check.table.locate("ID", 1);
  EXPECT_EQ(check.table.text("NOME"), "Rosso");

  // Refreshing with pending changes asks whether to save them first.
  check.table.setBeforeEdit([&](db::EditableTable& table) {
    return check.env.EventoBeforeEditDataSet(table, &check.salva, "COLORI");
  });
  ASSERT_TRUE(check.table.edit());
  check.table.setValue("NOME", "Verde");
  prompter_.reset();
  prompter_.answer(ui::Yes);
  check.env.AggiornamentoDaPulsante(check.table, check.posizione, &check.salva);
  EXPECT_EQ(check.salva.property("Tag").toInt(), 0);
  EXPECT_EQ(check.table.text("NOME"), "Verde");
  EXPECT_EQ(check.table.currentRow(), 0);
}

TEST_F(TableMaintenanceTest, DeletingAndEmptyingFailOnARowAnotherUserHolds) {
  EditingWindow window(host_);
  for (int i = 0; i < 2; ++i)
    window.env.NuovoIntSuMax(window.table, window.posizione, "COLORI", &window.salva);
  EditingWindow other(host_);
  other.table.locate("ID", 2);
  other.table.setBeforeEdit([&](db::EditableTable& table) {
    return other.env.EventoBeforeEditDataSet(table, &other.salva, "COLORI");
  });
  ASSERT_TRUE(other.table.edit()) << "the other user holds row 2";

  window.table.locate("ID", 2);
  prompter_.answer(ui::Yes);
  EXPECT_FALSE(window.env.Elimina(window.table, window.posizione, &window.salva));
  EXPECT_EQ(prompter_.texts(),
            (QStringList{"Conferma la cacellazione del record?",
                         "Impossibile cancellare questo record, altri utenti stanno lavorando su "
                         "questo record."}));
  EXPECT_EQ(prompter_.messages().back().kind, ui::MessageKind::Warning);
  EXPECT_EQ(window.ids(), (QStringList{"1", "2"}));

  prompter_.reset();
  prompter_.answer(ui::Yes);
  window.env.Azzera(window.table, window.posizione, "COLORI", &window.salva);
  EXPECT_EQ(prompter_.texts(), (QStringList{"Confermare l'azzeramento della tabella?",
                                            "Impossibile azzerare la tabella!"}));
  EXPECT_EQ(window.ids(), (QStringList{"1", "2"})) << "nothing emptied, row 1 included";

  // Once the other user lets go, both work.
  other.table.cancel();
  other.transaction.rollback();
  prompter_.reset();
  window.table.locate("ID", 2);
  prompter_.answer(ui::Yes);
  EXPECT_TRUE(window.env.Elimina(window.table, window.posizione, &window.salva));
  prompter_.answer(ui::Yes);
  window.env.Azzera(window.table, window.posizione, "COLORI", &window.salva);
  EXPECT_TRUE(window.ids().isEmpty());
  prompter_.reset();
}

TEST_F(TableMaintenanceTest, ScriptsAreStoredPerUserAndOverwrittenOnlyWhenAsked) {
  TTabXForm env(nullptr, TTabXForm::ModoDatabase);
  env.IniScriptForm("123", "GESTETIC", "1", "1", "script uno", "0");
  const auto script = [&] {
    return readOne(env.IBDatabaseUser,
                   "SELECT SCRIPT||'|'||DATAULTIMAMODIFICA FROM TABSCRIPT WHERE PROGETTO='123'");
  };
  const QString today = QDate::currentDate().toString("yyyy-MM-dd");
  EXPECT_EQ(script(), "script uno|" + today);
  env.IniScriptForm("123", "GESTETIC", "1", "1", "script due", "0");
  EXPECT_EQ(script(), "script uno|" + today) << "an existing script stays without the flag";
  env.IniScriptForm("123", "GESTETIC", "1", "1", "l'ultimo", "1");
  EXPECT_EQ(script(), "l'ultimo|" + today);
  env.IniScriptForm("123", "GESTETIC", "1", "2", "altro utente", "0");
  EXPECT_EQ(readOne(env.IBDatabaseUser, "SELECT COUNT(*) FROM TABSCRIPT"), "2");
}

}  // namespace
