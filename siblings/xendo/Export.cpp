#include "Export.h"

#include <QLocale>
#include <QRegularExpression>
#include <memory>

#include "Cell.h"
#include "Xendo.h"
#include "XlsWorkbook.h"
#include "XlsxWorkbook.h"
#include "core/Paths.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace xendo {

namespace {

QString grouped(qint64 number) {
  return QLocale(QLocale::Italian).toString(number);
}

QString extension(Format format) {
  return format == Format::Xls ? QStringLiteral(".xls") : QStringLiteral(".xlsx");
}

Outcome failure(int result, const QString& message) {
  return {result, message};
}

std::unique_ptr<WorkbookWriter> writerFor(Format format) {
  if (format == Format::Xls) return std::make_unique<XlsWorkbook>();
  return std::make_unique<XlsxWorkbook>();
}

}  // namespace

QString targetPath(const QString& directory, const QString& fileName) {
  if (directory.isEmpty() || directory.endsWith('\\') || directory.endsWith('/'))
    return directory + fileName;
  return directory + '\\' + fileName;
}

QStringList statementLines(const QString& sql) {
  static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
  return sql.split(lineBreak);
}

Outcome exportWorkbook(Format format, const Request& request) {
  if (request.sql.trimmed().isEmpty())
    return failure(XENDO_BAD_ARGUMENTS, QStringLiteral("Nessuna istruzione SQL da esportare"));
  if (request.database.trimmed().isEmpty())
    return failure(XENDO_BAD_ARGUMENTS, QStringLiteral("Nessun database da cui leggere i dati"));
  if (request.fileName.trimmed().isEmpty())
    return failure(XENDO_BAD_ARGUMENTS, QStringLiteral("Nessun nome per il file da creare"));
  const QString target = targetPath(request.directory, request.fileName);
  const QString notCreated =
      QStringLiteral("; il file ") + target + QStringLiteral(" non è stato creato");
  const auto cannotWrite = [&target](const WorkbookWriter& writer) {
    return failure(XENDO_WRITE_FAILED, QStringLiteral("Impossibile scrivere il file ") + target +
                                           QStringLiteral(": ") + writer.error());
  };

  db::Database database;
  try {
    database.attach(request.database, db::Database::defaultUser(), db::Database::defaultPassword());
  } catch (const db::DbError& error) {
    return failure(XENDO_DATABASE_FAILED, QStringLiteral("Impossibile aprire il database ") +
                                              request.database + QStringLiteral(": ") +
                                              error.text());
  }
  // A snapshot that only reads: the export changes nothing.
  db::Transaction transaction(
      database, {QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait"),
                 QStringLiteral("isc_tpb_read")});
  db::Query query(database, transaction);
  query.setForwardOnly(true);
  query.sql = statementLines(request.sql);
  try {
    query.open();
  } catch (const db::DbError& error) {
    return failure(XENDO_DATABASE_FAILED,
                   QStringLiteral("Istruzione SQL non eseguibile: ") + error.text());
  }

  const std::unique_ptr<WorkbookWriter> writer = writerFor(format);
  const int columns = query.fieldCount();
  if (columns > writer->maxColumns())
    return failure(XENDO_TOO_LARGE, QStringLiteral("Il risultato ha %1 colonne, un file %2 ne "
                                                   "contiene al massimo %3")
                                            .arg(grouped(columns), extension(format),
                                                 grouped(writer->maxColumns())) +
                                        notCreated);
  if (!writer->open(core::nativePath(target)))
    return failure(XENDO_WRITE_FAILED, QStringLiteral("Impossibile creare il file ") + target +
                                           QStringLiteral(": ") + writer->error());

  QStringList names;
  for (int column = 0; column < columns; ++column) names << query.field(column).name;
  if (!writer->writeHeader(names)) return cannotWrite(*writer);

  std::vector<Cell> cells(static_cast<std::size_t>(columns));
  qint64 rows = 0;
  try {
    for (; !query.isEof(); query.next()) {
      ++rows;
      if (rows + 1 > writer->maxRows())
        return failure(XENDO_TOO_LARGE,
                       QStringLiteral("Il risultato supera le %1 righe che un "
                                      "file %2 contiene oltre all'intestazione")
                               .arg(grouped(writer->maxRows() - 1), extension(format)) +
                           notCreated);
      const int row = query.currentRow();
      for (int column = 0; column < columns; ++column) {
        Cell& cell = cells[static_cast<std::size_t>(column)];
        cell = cellFor(query.value(row, column), query.field(column));
        if (cell.kind == Cell::Kind::Text && cell.text.size() > kMaxCellText)
          return failure(XENDO_TOO_LARGE,
                         QStringLiteral("Il valore della colonna %1 nella riga %2 supera i %3 "
                                        "caratteri che una cella può contenere")
                                 .arg(names.at(column), grouped(rows), grouped(kMaxCellText)) +
                             notCreated);
      }
      if (!writer->writeRow(cells)) return cannotWrite(*writer);
    }
  } catch (const db::DbError& error) {
    return failure(XENDO_DATABASE_FAILED,
                   QStringLiteral("Errore nella lettura dei dati: ") + error.text() + notCreated);
  }

  if (!writer->finish()) return cannotWrite(*writer);
  if (!request.templateWorkbook.trimmed().isEmpty())
    return {XENDO_WRITTEN_WITHOUT_TEMPLATE,
            QStringLiteral("Il modello ") + request.templateWorkbook +
                QStringLiteral(" non è stato applicato: la cartella è stata creata senza modello")};
  return {XENDO_WRITTEN, {}};
}

}  // namespace xendo
