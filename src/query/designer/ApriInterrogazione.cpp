#include "query/designer/ApriInterrogazione.h"

#include "core/IniFile.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Table.h"
#include "db/Transaction.h"
#include "db/WorkTables.h"
#include "grid/QuovGrid.h"
#include "query/designer/IBLQueryForm.h"
#include "ui/Prompter.h"

namespace query::designer {

void ApriInterrogazione(const RichiestaInterrogazione& richiesta) {
  if (!richiesta.tabella || !richiesta.database) return;
  const QString tabella = richiesta.tabella->tableName();
  db::Database database;
  try {
    database.attach(richiesta.database->name(), richiesta.database->user(),
                    richiesta.database->password());
  } catch (const db::DbError& error) {
    ui::error(QStringLiteral("Impossibile aprire la query: ") + error.text());
    return;
  }
  // Work tables left by programs that ended without dropping them (their
  // attachment is gone) are dropped before the designer makes its own.
  try {
    db::worktables::dropLeftovers(database);
  } catch (const db::DbError&) {
    // Only a clean-up: the designer does not depend on it.
  }
  db::Transaction transaction(database, richiesta.tabella->transaction().params());

  DesignerSettings settings{tabella, richiesta.directoryBin, richiesta.directoryLavoro,
                            richiesta.utente, richiesta.sezioneIni};
  const auto setting = [&](const QString& key) {
    const QString byDefault = QStringLiteral("C:\\WINDOWS");
    if (richiesta.fileIni.isEmpty()) return byDefault;
    return core::IniFile(richiesta.fileIni).read(richiesta.sezioneIni, key, byDefault);
  };
  if (settings.directoryLavoro.isEmpty())
    settings.directoryLavoro = setting(QStringLiteral("Directory di lavoro"));
  if (settings.directoryBin.isEmpty())
    settings.directoryBin = setting(QStringLiteral("Directory bin"));
  {
    TIBLQueryForm designer(database, transaction, settings);
    ui::runDialog(designer);
  }
  // The designer only reads: what its transaction holds is let go.
  try {
    if (transaction.isActive()) transaction.rollback();
  } catch (const db::DbError&) {
  }
  database.detach();
}

}  // namespace query::designer
