#include "query/output/AnswerExport.h"

#include "core/Paths.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "query/engine/AnswerAggregates.h"
#include "query/engine/AnswerWorkTable.h"
#include "query/engine/LocalAnswer.h"
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

// An answer presenting a local table is copied into the database for a
// reader that reads only the database; the copy goes when `copy` does.
// False with the failure in `outcome` when the copy could not be made.
bool copyForOutsideReader(db::Query& answer, std::unique_ptr<engine::AnswerWorkTable>& copy,
                          ExportOutcome& outcome) {
  const engine::LocalAnswer* local = engine::LocalAnswer::of(answer);
  if (!local) return true;
  copy = std::make_unique<engine::AnswerWorkTable>(answer.database(), local->user());
  try {
    copy->copy(answer);
  } catch (const db::DbError& error) {
    copy.reset();
    outcome.messages << core::error(
        QStringLiteral("Errore nella copia della tabella di lavoro nel database\r\r") +
        error.text());
    return false;
  }
  return true;
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
        if (engine::LocalAnswer::of(answer)) {
          db::Query rows(answer.database(), answer.transaction());
          rows.setRowSource(answer.rowSource());
          rows.sql = answer.sql;
          writeQueryText(rows, source.columns, textOptions(choice, source.locale),
                         core::nativePath(choice.target()), total, progress);
        } else {
          writeStatementText(answer.transaction(), answer.sql, source.columns,
                             textOptions(choice, source.locale), core::nativePath(choice.target()),
                             total, progress);
        }
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
      ExportOutcome outcome;
      std::unique_ptr<engine::AnswerWorkTable> copy;
      if (!copyForOutsideReader(answer, copy, outcome)) return outcome;
      outcome = exportToTable(answer.database(), fields, copy ? copy->statement() : answer.sql,
                              choice.name, source.binDirectory);
      if (outcome.done && reportSuccess)
        outcome.messages << core::information(
            QStringLiteral("EXPORT SU TABELLA IN FORMATO INTERBASE TERMINATO !!!"));
      return outcome;
    }
    case ExportType::Excel:
    case ExportType::ExcelX: {
      ExportOutcome outcome;
      std::unique_ptr<engine::AnswerWorkTable> copy;
      if (!copyForOutsideReader(answer, copy, outcome)) return outcome;
      SpreadsheetRequest request;
      request.xlsx = choice.type == ExportType::ExcelX;
      request.sql = copy ? copy->statement() : answer.sql;
      request.directory = choice.directory;
      request.fileName = choice.name;
      request.templateWorkbook = choice.templateWorkbook;
      request.reportSuccess = reportSuccess;
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
