// Thermal labels through the label printing of a launch: a host
// installation with 1,000 labels to print, a private CUPS scheduler with a
// raw queue to a socket printer played by this program, and the time from
// the start of the run until the last label reached the printer, as labels
// per second. The printing layer alone is measured by raw_print_time.
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "db/Query.h"
#include "db/Transaction.h"
#include "entry/Ambiente.h"
#include "env/TabX.h"
#include "labels/PrintLaunch.h"
#include "labels/ThermalPrinting.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"
#include "support/PrivateCups.h"
#include "support/ScriptedUi.h"
#include "support/SocketPrinter.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int labels = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;

  HostInstallation host;
  SocketPrinter printer;
  PrivateCups cups;
  if (!cups.isRunning() || printer.port() == 0 ||
      !cups.addRawQueue(QStringLiteral("Termica"), printer.port())) {
    std::fprintf(stderr, "no raw queue: %s\n", qPrintable(cups.error()));
    return 1;
  }
  db::Database archive;
  archive.attach(host.native(QStringLiteral("dati/archivio.fdb")), QStringLiteral("SYSDBA"),
                 QStringLiteral("masterkey"));
  runStatement(archive, QStringLiteral("DELETE FROM ETICHETTE"));
  for (int i = 1; i <= labels; ++i)
    runStatement(archive, QStringLiteral("INSERT INTO ETICHETTE (ID,CODICE,DATIPRODOTTO,"
                                         "DESCRIZIONE,CAUSALE,ORDINE,CODICE_EAN) VALUES(%1,"
                                         "'80123456789%2','Mod. 1234 Var. 07','ABITO BLU - TG 48',"
                                         "'RIASS','2024117','8001234567890')")
                              .arg(i)
                              .arg(i, 5, 10, QLatin1Char('0')));
  runStatement(archive, QStringLiteral("UPDATE TABX SET TESTO='Termica,,") + printer.deviceUri() +
                            QStringLiteral("' WHERE NOME='StampanteTermica'"));

  ScriptedPrompter prompter;
  ScopedPrompter guard(prompter);
  entry::Ambiente ambiente = entry::creaAmbiente(1);
  if (!entry::preparaAmbienteGestEtic(*ambiente, 1)) return 1;
  QStringList ids;
  for (int i = 1; i <= labels; ++i) ids << QString::number(i);

  db::Transaction transaction(ambiente->IBDatabase1, {QStringLiteral("isc_tpb_concurrency"),
                                                      QStringLiteral("isc_tpb_nowait")});
  transaction.start();
  labels::PrintLaunch launch(*ambiente, transaction, ids, {});
  QElapsedTimer timer;
  timer.start();
  if (!launch.apriLancio(QStringLiteral("benchmark"))) return 1;
  const labels::ThermalResult result =
      labels::stampaTermica(*ambiente, transaction, launch, ids, {});
  const double sent = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  const qsizetype arrived = printer.waitForJobs(labels, 600000).size();
  const double total = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  if (result.printed != labels || arrived != labels) {
    std::fprintf(stderr, "printed %d, arrived %lld of %d: %s\n", result.printed,
                 static_cast<long long>(arrived), labels, qPrintable(result.error));
    return 1;
  }
  std::printf("%d thermal labels, private CUPS raw queue to a socket printer\n", labels);
  std::printf("  run (render, stamp, submit, commit): %.2f s, %.1f labels/s\n", sent,
              labels / sent);
  std::printf("  until the last label reached the printer: %.2f s, %.1f labels/s\n", total,
              labels / total);
  return 0;
}
