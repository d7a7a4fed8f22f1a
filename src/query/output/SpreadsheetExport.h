#pragma once

#include <QFunctionPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "query/output/ExportOutcome.h"

namespace db {
class Transaction;
}

// The Excel exports: the answer's statement handed to the sibling export
// library (Xendo.dll, here libXendo.so), which writes the workbook itself.
namespace query::output {

inline const QString kXendoLibrary = QStringLiteral("Xendo.dll");

// How a call into the sibling library, loaded for that call only, ended.
enum class LibraryCall {
  NotLoaded,     // the library could not be loaded
  NoFunction,    // it lacks the function
  Called,        // called and unloaded
  CallFailed,    // the call raised an error
  UnloadFailed,  // called, but the library could not be unloaded
};
struct LibraryCallResult {
  LibraryCall result = LibraryCall::NotLoaded;
  QString error;  // the message of the error a call raised, when it had one
};
// Another symbol of the library while it is loaded; nullptr when missing.
using SymbolLookup = std::function<QFunctionPointer(const char* name)>;
// Loads the library, finds the function and hands it (with a lookup of other
// symbols) to `call`, then unloads the library.
using LibraryCaller = std::function<LibraryCallResult(
    const QString& functionName,
    const std::function<void(QFunctionPointer entry, const SymbolLookup& lookup)>& call)>;

// What the library is given. Paths are in stored form.
struct SpreadsheetRequest {
  bool xlsx = false;  // ExportXlsXAnsi rather than ExportXlsAnsi
  QStringList sql;    // the answer's statement
  QString databaseFile;
  QString directory;  // with its final backslash
  QString fileName;
  QString templateWorkbook;
  bool reportSuccess = true;  // "OK" rather than "Apri Excel"
};

// The database file the .xls export hands over: the connection's database
// name when a file of that name exists, else the file the server names for
// it. Without one, nothing, and the message says to check dati.ini.
std::optional<QString> databaseFileForExport(db::Transaction& transaction,
                                             const QString& databaseName,
                                             core::UserMessages& messages);

// Calls ExportXlsAnsi or ExportXlsXAnsi with the statement (its lines joined
// by line breaks), the database file, the directory, the file name and the
// template workbook, all in Windows-1252; a negative result is a failure.
// The workbook is written under a temporary name beside the target and
// renamed over it only when the library succeeded, so an older file of that
// name survives a failure. The outcome carries every message: the
// library's own error text (XendoLastError, when it has one) after a
// failure, and after a success with result 1 (the template could not be
// applied) that text as information.
ExportOutcome exportSpreadsheet(const SpreadsheetRequest& request, const LibraryCaller& library);

// Starts the program (stored path) with the file (stored path) as its
// argument, both made native, without waiting. The message of a refusal,
// else an empty text.
QString openWithProgram(const QString& program, const QString& file);

}  // namespace query::output
