// `orbelan designer`: the query designer on a user's main archive, as F8 in
// a grid opens it, for trying it without a window around it.
#include <QApplication>

#include "HostCommands.h"
#include "Usage.h"
#include "core/Paths.h"
#include "core/SqlText.h"
#include "core/TerminationSignals.h"
#include "db/DbError.h"
#include "db/Table.h"
#include "db/Transaction.h"
#include "entry/Ambiente.h"
#include "env/TabX.h"
#include "grid/QuovGrid.h"
#include "query/designer/ApriInterrogazione.h"
#include "ui/Prompter.h"

namespace host {

int runDesigner(const QStringList& arguments) {
  QStringList rest = arguments;
  int user = 0;
  bool haveUser = false;
  QString table = QStringLiteral("ETICHETTE");
  while (!rest.isEmpty()) {
    const QString option = rest.takeFirst();
    if (option == QLatin1String("--user") && !rest.isEmpty())
      user = rest.takeFirst().toInt(&haveUser);
    else if (option == QLatin1String("--table") && !rest.isEmpty())
      table = rest.takeFirst();
    else
      haveUser = false, rest.clear();
  }
  if (!haveUser || !core::isSqlIdentifier(table)) return wrongCommand(QStringLiteral("designer"));
  int argc = 1;
  char name[] = "orbelan";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  // SIGTERM and SIGINT close the designer and every dialog over it; the
  // running loops end, the connections with them, their transactions rolled
  // back. A statement running meanwhile has been cancelled on the database.
  core::onTermination(&application, [] {
    QApplication::closeAllWindows();
    QCoreApplication::exit(128 + core::terminationSignal());
  });
  const auto ended = [](int status) {
    return core::terminationRequested() ? 128 + core::terminationSignal() : status;
  };
  entry::Ambiente ambiente = entry::creaAmbiente(user);
  // Whatever stops the environment was told in a message box.
  if (!entry::caricaBinDir(*ambiente, user) || !entry::caricaArchivio(*ambiente, user) ||
      !entry::connettiArchivio(*ambiente))
    return ended(1);
  if (core::terminationRequested()) return ended(0);
  db::Transaction transaction(ambiente->IBDatabase1, {QStringLiteral("isc_tpb_concurrency"),
                                                      QStringLiteral("isc_tpb_nowait")});
  db::Table tabella(ambiente->IBDatabase1, transaction, table);
  try {
    tabella.describe();
  } catch (const db::DbError& error) {
    ui::error(QStringLiteral("Tabella %1 non disponibile: %2").arg(table, error.text()));
    return ended(1);
  }
  RichiestaInterrogazione richiesta;
  richiesta.tabella = &tabella;
  richiesta.database = &ambiente->IBDatabase1;
  richiesta.directoryBin = ambiente->GetV(QStringLiteral("BinDir"));
  richiesta.utente = user;
  richiesta.fileIni = core::windowsDirectory() + QStringLiteral("vandel.ini");
  richiesta.sezioneIni = ambiente->Ditta;
  query::designer::ApriInterrogazione(richiesta);
  return ended(0);
}

}  // namespace host
