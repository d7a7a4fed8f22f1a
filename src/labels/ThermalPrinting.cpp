#include "labels/ThermalPrinting.h"

#include <QFile>

#include "core/Cp1252.h"
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

QList<QPair<QString, QString>> thermalTags(const LabelRow& row, bool excludeSerial) {
  const LabelVariables variables = labelVariables(row, excludeSerial);
  const bool dashed = row.descrizione.contains('-');
  return {{QStringLiteral("<CodiceBarre>"), variables.codiceBarre},
          {QStringLiteral("<DatiProdotto>"), variables.datiProdotto},
          {QStringLiteral("<Descrizione>"), dashed ? variables.descrizione : row.descrizione},
          {QStringLiteral("<Descrizione1>"), dashed ? variables.descrizione1 : QString()},
          {QStringLiteral("<Ordine>"), variables.ordine},
          {QStringLiteral("<Codice_EAN>"), variables.codiceEan}};
}

QStringList renderThermalTemplate(const QStringList& lines,
                                  const QList<QPair<QString, QString>>& tags) {
  QStringList rendered = lines;
  for (QString& line : rendered)
    for (const auto& [tag, value] : tags) line.replace(tag, value, Qt::CaseSensitive);
  return rendered;
}

QByteArray thermalDocument(const QStringList& renderedLines) {
  return core::toCp1252(renderedLines.join(QStringLiteral("\r\n")));
}

bool loadThermalTemplate(const QString& storedPath, QStringList* lines, QString* error) {
  QFile file(core::nativePath(storedPath));
  if (!file.open(QIODevice::ReadOnly)) {
    *error = QStringLiteral("Impossibile leggere il modello di stampa termica \"%1\": %2")
                 .arg(storedPath, file.errorString());
    return false;
  }
  QString text = core::fromCp1252(file.readAll());
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace('\r', '\n');
  // A final line end closes the last line rather than opening an empty one.
  if (text.endsWith('\n')) text.chop(1);
  *lines = text.isEmpty() ? QStringList() : text.split('\n');
  return true;
}

QString visibleBytes(const QByteArray& bytes) {
  QString shown;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '\r') {
      shown += QStringLiteral("<CR>");
    } else if (byte == '\n') {
      shown += QStringLiteral("<LF>\n");
    } else if (byte < 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F ||
               byte == 0x90 || byte == 0x9D) {
      shown += QStringLiteral("<%1>").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    } else if (byte == '<') {
      // Doubled so that a template's own "<" is never read as a byte mark.
      shown += QStringLiteral("<<");
    } else {
      shown += core::fromCp1252(QByteArray(1, c));
    }
  }
  return shown;
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
