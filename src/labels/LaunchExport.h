#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>

namespace db {
class Database;
class Transaction;
}  // namespace db

// Writing the labels of a print launch to the semicolon-separated file that
// another system takes over, and marking the launch exported.
namespace labels {

// The launch list: every launch at least one label refers to, optionally
// without the launches already exported and without those whose labels have
// no order.
QStringList launchListStatement(bool hideExported, bool hideWithoutOrder);

// The file name actually written: ".CSV" in place of any extension.
QString csvFileName(const QString& chosen);

// A file that could not be written; what() says which and why.
class ExportFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Progress of a long export: rows written so far.
using ExportProgress = std::function<void(int rowsWritten)>;

// What becomes of the file when the launch has no labels.
enum class EmptyLaunch {
  WriteEmptyFile,  // an empty file takes the name, as for any launch
  WriteNothing     // nothing is written and an older file of that name stays
};

// Writes one line per label of the launch, in the table's column order:
// every value as text followed by ";", lines ended by CR LF, Windows-1252,
// no header, no quoting. The file appears only complete: it is written
// beside its final name, checked down to the disk (a full disk or a
// file-size limit is a failure) and renamed at the end, so a failure leaves
// no half-written file and an older file of that name untouched. Returns the
// number of lines. Throws ExportFileError or db::DbError.
int writeLaunchCsv(db::Database& database, db::Transaction& transaction, qint64 launchId,
                   const QString& nativeFile, const ExportProgress& progress = {},
                   EmptyLaunch empty = EmptyLaunch::WriteEmptyFile);

// "UPDATE LANCISTAMPA SET" ... marking the launch exported on that date.
QStringList markExportedStatement(qint64 launchId, const QDate& date);

}  // namespace labels
