#include "query/output/AnswerExport.h"

#include "core/Paths.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "query/engine/AnswerAggregates.h"
#include "query/output/TableExport.h"

namespace query::output {

namespace {

const QString kTextDone = QStringLiteral("EXPORT SU FILE TERMINATO !!!");

ExportOutcome textFailure(const QString& reason) {
  ExportOutcome outcome;
  outcome.fallback = true;
  outcome.messages << core::error(reason);
  return outcome;
}

}  // namespace

TextOptions textOptions(const ExportChoice& choice, const QLocale& locale) {
  TextOptions options;
  options.separator = choice.separator;
  options.fixedLength = choice.fixedLength;
  options.memoInFull = choice.memoInFull;
  options.rtfPlain = choice.rtfPlain;
  options.headers = !choice.noHeaders;
  options.locale = locale;
  return options;
}

ExportOutcome exportAnswer(const ExportChoice& choice, AnswerToExport& source,
                           const LibraryCaller& library, bool reportSuccess,
                           const Progress& progress) {
  db::Query& answer = source.answer;
  switch (choice.type) {
    case ExportType::Testo: {
      try {
        const qint64 total = engine::countRows(answer);
        writeStatementText(answer.transaction(), answer.sql, source.columns,
                           textOptions(choice, source.locale), core::nativePath(choice.target()),
                           total, progress);
      } catch (const TextExportError& error) {
        return textFailure(QString::fromStdString(error.what()));
      } catch (const db::DbError& error) {
        return textFailure(error.text());
      }
      ExportOutcome outcome;
      outcome.done = true;
      if (reportSuccess) outcome.messages << core::information(kTextDone);
      return outcome;
    }
    case ExportType::IB: {
      std::vector<db::FieldInfo> fields;
      for (int i = 0; i < answer.fieldCount(); ++i) fields.push_back(answer.field(i));
      ExportOutcome outcome =
          exportToTable(answer.database(), fields, answer.sql, choice.name, source.binDirectory);
      if (outcome.done && reportSuccess)
        outcome.messages << core::information(
            QStringLiteral("EXPORT SU TABELLA IN FORMATO INTERBASE TERMINATO !!!"));
      return outcome;
    }
    case ExportType::Excel:
    case ExportType::ExcelX: {
      SpreadsheetRequest request;
      request.xlsx = choice.type == ExportType::ExcelX;
      request.sql = answer.sql;
      request.directory = choice.directory;
      request.fileName = choice.name;
      request.templateWorkbook = choice.templateWorkbook;
      request.reportSuccess = reportSuccess;
      ExportOutcome outcome;
      if (request.xlsx) {
        request.databaseFile = answer.database().name();
      } else {
        const std::optional<QString> file =
            databaseFileForExport(answer.transaction(), answer.database().name(), outcome.messages);
        if (!file) {
          outcome.messages << core::error(QStringLiteral("ERRORE NELL' EXPORT SU FILE EXCEL!!!"));
          return outcome;
        }
        request.databaseFile = *file;
      }
      return exportSpreadsheet(request, library);
    }
  }
  return {};
}

ExportOutcome exportAnswerRows(const ExportChoice& choice, db::DataSet& rows,
                               const QList<ExportColumn>& columns, const QLocale& locale,
                               bool reportSuccess) {
  ExportOutcome outcome;
  if (choice.type != ExportType::Testo) return outcome;
  try {
    writeDataSetText(rows, columns, textOptions(choice, locale), core::nativePath(choice.target()));
  } catch (const TextExportError& error) {
    outcome.messages << core::error(QString::fromStdString(error.what()));
    return outcome;
  } catch (const db::DbError& error) {
    outcome.messages << core::error(error.text());
    return outcome;
  }
  outcome.done = true;
  if (reportSuccess) outcome.messages << core::information(kTextDone);
  return outcome;
}

}  // namespace query::output
