#pragma once

#include <QList>
#include <QLocale>
#include <QString>

#include "query/output/ExportOutcome.h"
#include "query/output/ExportSettings.h"
#include "query/output/SpreadsheetExport.h"
#include "query/output/TextExport.h"

namespace db {
class DataSet;
class Query;
}  // namespace db

// The export of the answer as the export settings chose it, whatever asked
// for it (the result view's "&Esporta", `orbelan query --export`).
namespace query::output {

// The answer and how it is shown.
struct AnswerToExport {
  db::Query& answer;            // open; its statement, transaction and fields
  QList<ExportColumn> columns;  // the visible columns, in their order
  QString binDirectory;         // stored form: where a failed statement is saved
  QLocale locale;               // the number format of grouped digits
};

TextOptions textOptions(const ExportChoice& choice, const QLocale& locale);

// Runs the export of the chosen type: the text file written from the
// statement run again forward only (records counted first for the
// progress), the database table, or the workbook through the sibling
// library. With reportSuccess (the window's "OK", not "Apri Excel") the
// outcome ends with the type's success message.
ExportOutcome exportAnswer(const ExportChoice& choice, AnswerToExport& source,
                           const LibraryCaller& library, bool reportSuccess,
                           const Progress& progress = {});

// The plain text export from the rows the answer has, from its first
// record, without counting: what is left when the export above failed.
// Other types do nothing.
ExportOutcome exportAnswerRows(const ExportChoice& choice, db::DataSet& rows,
                               const QList<ExportColumn>& columns, const QLocale& locale,
                               bool reportSuccess);

}  // namespace query::output
