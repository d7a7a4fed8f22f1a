#include "query/output/SpreadsheetExport.h"

#include <QFileInfo>
#include <QProcess>
#include <cstdint>
#include <exception>

#include "core/Cp1252.h"
#include "core/OutputFile.h"
#include "core/Paths.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace query::output {

namespace {

using ExportFunction = std::int32_t (*)(const char* sql, const char* databaseFile,
                                        const char* targetDirectory, const char* targetFileName,
                                        const char* templateWorkbook);
using LastErrorFunction = const char* (*)();

const QString kWorkbookExportFailure = QStringLiteral("ERRORE NELL' EXPORT SU FILE EXCEL!!!");

// The text of the library's last error, when it tells one.
QString lastError(const SymbolLookup& lookup) {
  const auto function = reinterpret_cast<LastErrorFunction>(lookup("XendoLastError"));
  if (!function) return {};
  const char* text = function();
  return text ? core::fromCp1252(QByteArray(text)) : QString();
}

}  // namespace

std::optional<QString> databaseFileForExport(db::Transaction& transaction,
                                             const QString& databaseName,
                                             core::UserMessages& messages) {
  if (QFileInfo(core::nativePath(databaseName)).isFile()) return databaseName;
  QString file;
  try {
    db::Query query(transaction.database(), transaction);
    query.setForwardOnly(true);
    query.sql << QStringLiteral("SELECT MON$DATABASE_NAME AS FILENAME")
              << QStringLiteral("FROM MON$DATABASE");
    query.open();
    if (!query.isEof()) file = query.text(QStringLiteral("FILENAME"));
  } catch (const db::DbError&) {
    file.clear();
  }
  if (!file.isEmpty() && QFileInfo(core::nativePath(file)).isFile()) return file;
  messages << core::warning(
      QStringLiteral("Impossibile stabilire correttamente il percorso del database.\rPercorso di "
                     "riferimento:\r") +
      databaseName + QStringLiteral("\r\rNOTA: verificare la configurazione di dati.ini"));
  return std::nullopt;
}

ExportOutcome exportSpreadsheet(const SpreadsheetRequest& request, const LibraryCaller& library) {
  const QString kind = request.xlsx ? QStringLiteral("xlsx") : QStringLiteral("xls");
  const QString function =
      request.xlsx ? QStringLiteral("ExportXlsXAnsi") : QStringLiteral("ExportXlsAnsi");
  ExportOutcome outcome;
  core::OutputFile file(core::nativePath(request.directory + request.fileName));
  if (!file.open()) {
    outcome.messages << core::error(kWorkbookExportFailure + QStringLiteral("\r\r") + file.error());
    return outcome;
  }
  const QString temporaryName = QFileInfo(file.temporaryPath()).fileName();

  std::int32_t result = -1;
  QString libraryError;
  const LibraryCallResult call =
      library(function, [&](QFunctionPointer entry, const SymbolLookup& lookup) {
        const QByteArray sql = core::toCp1252(request.sql.join('\n'));
        const QByteArray database = core::toCp1252(request.databaseFile);
        const QByteArray directory = core::toCp1252(request.directory);
        const QByteArray name = core::toCp1252(temporaryName);
        const QByteArray workbook = core::toCp1252(request.templateWorkbook);
        result = reinterpret_cast<ExportFunction>(entry)(sql.constData(), database.constData(),
                                                         directory.constData(), name.constData(),
                                                         workbook.constData());
        if (result < 0 || result == 1) libraryError = lastError(lookup);
      });
  const QString access =
      QStringLiteral("Errore nell'accesso alla DLL esterna per la creazione del file ") + kind;
  switch (call.result) {
    case LibraryCall::NotLoaded:
      outcome.messages << core::error(QStringLiteral("Non trovato il file ") + kXendoLibrary);
      break;
    case LibraryCall::NoFunction:
      outcome.messages << core::error(QStringLiteral("Non trovata funzione ") + function +
                                      QStringLiteral(" nel file ") + kXendoLibrary);
      break;
    case LibraryCall::CallFailed:
      outcome.messages << core::error(
          call.error.isEmpty() ? access : access + QStringLiteral("\r\r") + call.error);
      break;
    case LibraryCall::UnloadFailed:
      outcome.messages << core::error(
          QStringLiteral("Errore interno nella DLL esterna per la creazione del file ") + kind);
      break;
    case LibraryCall::Called:
      break;
  }
  QString failure;
  if (call.result == LibraryCall::Called) {
    if (result < 0) {
      // The library names the file it wrote, the hidden temporary one; the
      // user is told of the file they chose.
      failure = libraryError;
      failure.replace(temporaryName, request.fileName);
    } else if (QFileInfo(file.temporaryPath()).size() <= 0) {
      // Nothing written: an older file of the name is not replaced by nothing.
      failure =
          QStringLiteral("Il file ") + request.fileName + QStringLiteral(" non è stato scritto");
    } else if (!file.commit()) {
      failure = file.error();
    } else {
      outcome.done = true;
    }
  }
  if (!outcome.done) {
    file.discard();
    outcome.messages << core::error(failure.isEmpty() ? kWorkbookExportFailure
                                                      : kWorkbookExportFailure +
                                                            QStringLiteral("\r\r") + failure);
    return outcome;
  }
  if (request.reportSuccess)
    outcome.messages << core::information(QStringLiteral("EXPORT SU FILE EXCEL TERMINATO !!!"));
  if (result == 1 && !libraryError.isEmpty()) outcome.messages << core::information(libraryError);
  return outcome;
}

QString openWithProgram(const QString& program, const QString& file) {
  if (program.isEmpty())
    return QStringLiteral(
        "Errore: specificare parametro \"Programma riferimento Excel\" nel vandel.ini");
  if (!QProcess::startDetached(core::nativePath(program), {core::nativePath(file)}))
    return QStringLiteral("Impossibile avviare ") + program;
  return {};
}

}  // namespace query::output
