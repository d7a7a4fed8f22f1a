#pragma once

#include <QByteArray>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>
#include <vector>

#include "db/FieldType.h"

namespace db {
class DataSet;
class Query;
class Transaction;
}  // namespace db

// The answer written as a text file: one line per record, every visible
// column a field followed by the separator, Windows-1252, CR LF.
namespace query::output {

// A visible answer column as the result view shows it.
struct ExportColumn {
  int field = -1;        // the answer field it shows
  QString name;          // the field's name
  QString label;         // its title
  int displayWidth = 0;  // in characters
  int grouping = 0;      // digit grouping: 0 none, 1 two decimals, 2 none
};

// The width of a column's fields: its display width, or the length of its
// title when that is longer.
int exportWidth(const ExportColumn& column);

struct TextOptions {
  QString separator = QStringLiteral(";");
  bool fixedLength = false;  // every field padded with blanks to its width
  bool memoInFull = false;   // memo and blob fields whole instead of cut
  bool rtfPlain = false;     // memo fields read as RTF and written as their text
  bool headers = true;       // a first line of field names
  QLocale locale;            // the number format of grouped digits
};

// A file that could not be written; what() says which and why.
class TextExportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Percent of the records written, called when it changes.
using Progress = std::function<void(int percent)>;

// The header line, without its line end: each column's field name cut to
// its width, padded (fixed length) or without trailing blanks, followed by
// the separator; a column whose name gives no text adds nothing.
QByteArray headerLine(const QList<ExportColumn>& columns, const TextOptions& options);

// Writes the records of the statement, fetched forward only in the
// transaction, to the file (native path): written beside it and renamed
// over it when complete, so a failure leaves an older file untouched.
// `total` is the number of records the progress counts against. Returns the
// number of records written. Throws TextExportError or db::DbError.
qint64 writeStatementText(db::Transaction& transaction, const QStringList& sql,
                          const QList<ExportColumn>& columns, const TextOptions& options,
                          const QString& nativeFile, qint64 total = 0,
                          const Progress& progress = {});

// The same from the rows of a query (its statement and row source), run
// again forward only.
qint64 writeQueryText(db::Query& rows, const QList<ExportColumn>& columns,
                      const TextOptions& options, const QString& nativeFile, qint64 total = 0,
                      const Progress& progress = {});

// The same from the rows of a data set, from the first (the rest fetched first).
qint64 writeDataSetText(db::DataSet& rows, const QList<ExportColumn>& columns,
                        const TextOptions& options, const QString& nativeFile);

}  // namespace query::output
