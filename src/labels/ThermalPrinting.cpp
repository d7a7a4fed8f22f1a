#include "labels/ThermalPrinting.h"

#include <QFile>

#include "core/Paths.h"
#include "core/SqlText.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "env/TabX.h"
#include "labels/LaunchReport.h"
#include "platform/printing/DefaultPrinter.h"
#include "platform/printing/RawPrintJob.h"

namespace labels {

namespace {

LabelRow rowOf(const db::Query& query) {
  return LabelRow{
      query.text(QStringLiteral("CODICE")),      query.text(QStringLiteral("DATIPRODOTTO")),
      query.text(QStringLiteral("DESCRIZIONE")), query.text(QStringLiteral("CAUSALE")),
      query.text(QStringLiteral("ORDINE")),      query.text(QStringLiteral("CODICE_EAN"))};
}

// The template of the chosen type, with the message for the user when it
// cannot be read.
bool templateFor(TTabXForm& ambiente, bool ean, QStringList* lines, QString* error) {
  const QString path = ambiente.GetV(thermalTemplateEntry(ean));
  if (path.isEmpty()) {
    *error = QStringLiteral("Modello per la stampa termica non impostato (%1)")
                 .arg(thermalTemplateEntry(ean));
    return false;
  }
  return loadThermalTemplate(path, lines, error);
}

}  // namespace

bool loadThermalTemplate(const QString& storedPath, QStringList* lines, QString* error) {
  QFile file(core::nativePath(storedPath));
  if (!file.open(QIODevice::ReadOnly)) {
    *error = QStringLiteral("Impossibile leggere il modello di stampa termica \"%1\": %2")
                 .arg(storedPath, file.errorString());
    return false;
  }
  *lines = thermalTemplateLines(file.readAll());
  return true;
}

bool thermalPreview(TTabXForm& ambiente, db::Transaction& transaction, bool ean, bool excludeSerial,
                    QByteArray* document, QString* error) {
  QStringList lines;
  if (!templateFor(ambiente, ean, &lines, error)) return false;
  try {
    if (!transaction.isActive()) transaction.start();
    db::Query query(transaction.database(), transaction);
    query.sql << QStringLiteral("SELECT FIRST 1 CODICE,DATIPRODOTTO,DESCRIZIONE,CAUSALE,ORDINE")
              << QStringLiteral(",CODICE_EAN") << QStringLiteral("FROM ETICHETTE")
              << QStringLiteral("WHERE IDLANCIOSTAMPA IS NULL");
    query.open();
    if (query.isEmpty()) {
      *error = QStringLiteral("Nessuna etichetta da stampare per l'anteprima");
      return false;
    }
    *document =
        thermalDocument(renderThermalTemplate(lines, thermalTags(rowOf(query), excludeSerial)));
    return true;
  } catch (const db::DbError& failure) {
    *error = failure.text();
    return false;
  }
}

ThermalResult stampaTermica(TTabXForm& ambiente, db::Transaction& transaction, PrintLaunch& launch,
                            const QStringList& selezionati, const LaunchChoices& choices,
                            const std::function<void(int, int)>& labelSent) {
  ThermalResult result;
  result.selected = static_cast<int>(selezionati.size());
  using Outcome = ThermalResult::Outcome;
  // Before the first label nothing of the launch is kept.
  const auto abandon = [&](Outcome outcome, const QString& error, core::UserMessage message) {
    launch.concludi(0);
    result.outcome = outcome;
    result.error = error;
    result.messages << message;
    return result;
  };

  const QString printer = ambiente.GetV(QStringLiteral("StampanteTermica"));
  if (printer.isEmpty())
    return abandon(
        Outcome::NoPrinter, {},
        core::information(QStringLiteral("Non è stata installata nessuna stampante solo testo")));
  platform::printing::DefaultPrinterSwitch toThermal(printer);
  if (!toThermal.ok())
    return abandon(Outcome::Failed, toThermal.error(),
                   core::error(QStringLiteral("Impossibile impostare la stampante termica: ") +
                               toThermal.error()));
  platform::printing::RawPrinter raw(platform::printing::defaultPrinterName());
  if (!raw.acceptsRaw())
    return abandon(Outcome::NoRaw, raw.error(),
                   core::information(QStringLiteral(
                       "La stampante definita come Text Only non supporta i comandi Escape")));
  QStringList modello;
  QString error;
  if (!templateFor(ambiente, choices.ean, &modello, &error))
    return abandon(Outcome::NoTemplate, error, core::error(error));

  // The selected labels in the database's order.
  QList<QPair<QString, LabelRow>> rows;
  try {
    db::Query query(transaction.database(), transaction);
    query.sql << QStringLiteral("SELECT ID,CODICE,DATIPRODOTTO,DESCRIZIONE,CAUSALE,ORDINE")
              << QStringLiteral(",CODICE_EAN") << QStringLiteral("FROM ETICHETTE")
              << QStringLiteral("WHERE");
    for (qsizetype i = 0; i < selezionati.size(); ++i) {
      if (i > 0) query.sql << QStringLiteral("OR");
      query.sql << QStringLiteral("(ID=") + core::sqlString(selezionati.at(i)) + ')';
    }
    query.open();
    for (; !query.isEof(); query.next())
      rows.append({query.text(QStringLiteral("ID")), rowOf(query)});
  } catch (const db::DbError& failure) {
    return abandon(Outcome::Failed, failure.text(),
                   core::error(QStringLiteral("Il lancio di stampa non è stato registrato: ") +
                               failure.text()));
  }

  int sent = 0;
  const int deleted = static_cast<int>(selezionati.size() - rows.size());
  bool conflict = false;
  QString stopReason;
  for (const auto& [id, row] : rows) {
    // Stamped before it is sent, so that a label another launch printed or
    // holds meanwhile is not printed twice.
    PrintLaunch::Stamp stamp = PrintLaunch::Stamp::Failed;
    try {
      stamp = launch.stampaEtichetta(id);
    } catch (const db::DbError& failure) {
      stopReason = failure.text();
    }
    if (stamp == PrintLaunch::Stamp::AlreadyPrinted) continue;
    if (stamp == PrintLaunch::Stamp::Conflict) conflict = true;
    if (stamp != PrintLaunch::Stamp::Stamped) break;
    const QByteArray document =
        thermalDocument(renderThermalTemplate(modello, thermalTags(row, choices.excludeSerial)));
    if (raw.print(QStringLiteral("Etichetta ") + id, document) == 0) {
      stopReason = raw.error();
      break;
    }
    ++sent;
    if (labelSent) labelSent(sent, static_cast<int>(rows.size()));
  }
  toThermal.restore();

  PrintLaunch::Result concluded = launch.concludi(sent);
  concluded.deleted = deleted;
  if (conflict && stopReason.isEmpty())
    stopReason = QStringLiteral("altri utenti stanno stampando alcune delle etichette selezionate");
  concluded.stopReason = stopReason;
  result.printed = concluded.printed;
  result.error = concluded.outcome == PrintLaunch::Outcome::Printed ||
                         concluded.outcome == PrintLaunch::Outcome::NothingPrinted
                     ? stopReason
                     : concluded.error;
  switch (concluded.outcome) {
    case PrintLaunch::Outcome::Printed:
      result.outcome = Outcome::Printed;
      break;
    case PrintLaunch::Outcome::NothingPrinted:
      result.outcome = Outcome::NothingPrinted;
      break;
    case PrintLaunch::Outcome::Conflict:
    case PrintLaunch::Outcome::Failed:
      result.outcome = Outcome::Failed;
      break;
  }
  result.messages = launchMessages(concluded);
  return result;
}

}  // namespace labels
