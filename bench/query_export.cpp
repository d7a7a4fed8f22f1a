// The query designer's text export of an answer over the million-label
// archive (bench::labelDatabasePath), beside two references in the same run
// that write the same rows: a bare loop on the Firebird OO API (one prepared
// statement, the message buffer formatted straight into bytes, no value
// objects) writing exactly the export's bytes, and isql-fb writing the rows
// with OUTPUT.
//
//   query_export [ROWS]   (default 100000; up to the archive's 1,000,000)
//
// The export is timed whole (the record count the progress window needs,
// then the rows) and its writing alone.
#include <firebird/Interface.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "BenchDatabase.h"
#include "core/Paths.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "query/engine/DisplayWidth.h"
#include "query/engine/QueryEngine.h"
#include "query/model/RowList.h"
#include "query/output/AnswerExport.h"

namespace {

double seconds(const QElapsedTimer& timer) {
  return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

QString outputDir() {
  return QFileInfo(bench::labelDatabasePath()).absolutePath();
}

// isql-fb with OUTPUT to a file: the same rows, each field followed by ";".
double isqlSeconds(const QString& database, const QStringList& fields, int rows,
                   const QString& output) {
  const QString script = outputDir() + QStringLiteral("/query-export.sql");
  QFile sql(script);
  if (!sql.open(QIODevice::WriteOnly | QIODevice::Truncate)) return -1;
  QStringList parts;
  for (const QString& field : fields) parts << QStringLiteral("COALESCE(%1,'')||';'").arg(field);
  sql.write(QStringLiteral("SET HEADING OFF;\nOUTPUT %1;\nSELECT %2 FROM ETICHETTE WHERE ID<=%3;\n"
                           "OUTPUT;\nQUIT;\n")
                .arg(output, parts.join(QStringLiteral("||")))
                .arg(rows)
                .toLocal8Bit());
  sql.close();
  QFile::remove(output);  // OUTPUT appends to a file that is there
  return bench::runIsqlScript(script, database, 1800000);
}

// The bare loop: the statement prepared and fetched through the OO API, each
// column formatted from the message buffer as the export writes it (text
// cut to its width and without trailing blanks, integers in digits), every
// field followed by ";", lines ended by CR LF, written in large blocks.
double bareSeconds(db::Database& database, const QStringList& sql,
                   const QList<query::output::ExportColumn>& columns, const QString& output) {
  QElapsedTimer timer;
  timer.start();
  db::Transaction transaction(database);
  transaction.ensureStarted();
  Firebird::IMaster* master = Firebird::fb_get_master_interface();
  Firebird::ThrowStatusWrapper status(master->getStatus());
  FILE* file = std::fopen(QFile::encodeName(output).constData(), "wb");
  if (!file) return -1;
  try {
    const QByteArray text = sql.join('\n').toLatin1();
    Firebird::IStatement* statement = database.attachment()->prepare(
        &status, transaction.handle(), 0, text.constData(), SQL_DIALECT_V6,
        Firebird::IStatement::PREPARE_PREFETCH_METADATA);
    Firebird::IMessageMetadata* meta = statement->getOutputMetadata(&status);
    std::vector<unsigned char> buffer(meta->getMessageLength(&status));
    struct Column {
      unsigned offset, nullOffset, type, width;
    };
    std::vector<Column> layout;
    for (const query::output::ExportColumn& column : columns) {
      const auto i = static_cast<unsigned>(column.field);
      layout.push_back({meta->getOffset(&status, i), meta->getNullOffset(&status, i),
                        meta->getType(&status, i) & ~1u,
                        static_cast<unsigned>(query::output::exportWidth(column))});
    }
    Firebird::IResultSet* cursor =
        statement->openCursor(&status, transaction.handle(), nullptr, nullptr, meta, 0);
    std::vector<char> out;
    out.reserve(1 << 20);
    while (cursor->fetchNext(&status, buffer.data()) == Firebird::IStatus::RESULT_OK) {
      for (const Column& column : layout) {
        const std::size_t start = out.size();
        if (!*reinterpret_cast<const short*>(&buffer[column.nullOffset])) {
          const unsigned char* data = &buffer[column.offset];
          if (column.type == SQL_VARYING) {
            const auto length = *reinterpret_cast<const unsigned short*>(data);
            const char* chars = reinterpret_cast<const char*>(data + 2);
            out.insert(out.end(), chars, chars + std::min<unsigned>(length, column.width));
          } else if (column.type == SQL_LONG) {
            char digits[16];
            const auto end =
                std::to_chars(digits, digits + 16, *reinterpret_cast<const int*>(data)).ptr;
            out.insert(out.end(), digits, end);
          }
          for (std::size_t i = start; i < out.size(); ++i)
            if (out[i] == '\r' || out[i] == '\n') out[i] = ' ';
          while (out.size() > start && out.back() == ' ') out.pop_back();
        }
        out.push_back(';');
      }
      out.push_back('\r');
      out.push_back('\n');
      if (out.size() >= (1 << 20) - 4096) {
        std::fwrite(out.data(), 1, out.size(), file);
        out.clear();
      }
    }
    std::fwrite(out.data(), 1, out.size(), file);
    cursor->close(&status);
    statement->free(&status);
    meta->release();
  } catch (const Firebird::FbException&) {
    std::fclose(file);
    status.dispose();
    return -1;
  }
  status.dispose();
  std::fflush(file);
  fsync(fileno(file));
  std::fclose(file);
  transaction.commit();
  return seconds(timer);
}

QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
  if (rows <= 0 || rows > bench::kLabels) {
    std::fprintf(stderr, "usage: query_export [ROWS (1 to %d)]\n", bench::kLabels);
    return 2;
  }
  const QString path = bench::labelDatabasePath();
  if (!bench::prepareLabelDatabase(path)) return 1;
  const QString dir = outputDir();

  // The reference first, while no attachment of ours holds the file.
  const QStringList isqlFields{"ID",          "IDACQUISIZIONE", "CODICE",     "DATIPRODOTTO",
                               "DESCRIZIONE", "CAUSALE",        "CODICE_EAN", "IDLANCIOSTAMPA"};
  const double isql = isqlSeconds(path, isqlFields, rows, dir + QStringLiteral("/isql.txt"));

  db::Database database;
  try {
    database.attach(path, QStringLiteral("SYSDBA"), QStringLiteral("masterkey"));
  } catch (const db::DbError& error) {
    std::fprintf(stderr, "cannot attach %s: %s\n", qPrintable(path), qPrintable(error.text()));
    return 1;
  }
  // The designer's query: the chosen fields shown, the records up to ROWS.
  db::Transaction transaction(
      database, {QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait")});
  query::model::RowList rowList;
  query::engine::QueryEngine engine(database, transaction, rowList, QStringLiteral("ETICHETTE"));
  {
    QList<query::model::Row> designerRows;
    int numero = 0;
    for (const QString& field : isqlFields)
      designerRows << query::model::Row{
          ++numero, field, 1,
          field == QLatin1String("ID") ? QStringLiteral("(ID<=%1)").arg(rows) : QString()};
    query::model::InternalChange change(rowList);
    rowList.replaceAll(designerRows);
  }
  db::Query answer(database, transaction);
  if (!engine.EseguiInterrogazione(answer, false)) {
    std::fprintf(stderr, "the query was refused: %s\n", qPrintable(engine.lastError()));
    return 1;
  }
  QList<query::output::ExportColumn> columns;
  for (int i = 0; i < answer.fieldCount(); ++i)
    columns << query::output::ExportColumn{i, answer.field(i).name, answer.field(i).name,
                                           query::engine::defaultDisplayWidth(answer.field(i)), 0};

  query::output::ExportChoice choice;
  choice.directory = core::storedPath(dir) + '\\';
  choice.name = QStringLiteral("export.txt");
  choice.noHeaders = true;  // the references write no header
  query::output::AnswerToExport source{answer, columns, choice.directory, QLocale()};
  QElapsedTimer timer;
  timer.start();
  const query::output::ExportOutcome outcome =
      query::output::exportAnswer(choice, source, {}, false);
  const double whole = seconds(timer);
  if (!outcome.done) {
    std::fprintf(stderr, "export failed: %s\n",
                 outcome.messages.isEmpty() ? "" : qPrintable(outcome.messages[0].text));
    return 1;
  }
  timer.restart();
  query::output::writeStatementText(transaction, answer.sql, columns,
                                    query::output::textOptions(choice, QLocale()),
                                    dir + QStringLiteral("/export2.txt"));
  const double writing = seconds(timer);

  const QString bareFile = dir + QStringLiteral("/bare.txt");
  const double bare = bareSeconds(database, answer.sql, columns, bareFile);

  const QByteArray ours = fileBytes(dir + QStringLiteral("/export.txt"));
  const bool same = ours == fileBytes(bareFile);
  std::printf("text export of %d records (%lld bytes): %.2f s, of which writing %.2f s\n", rows,
              static_cast<long long>(ours.size()), whole, writing);
  std::printf("bare OO API loop, same bytes%s:    %.2f s (export %.2fx, writing %.2fx)\n",
              same ? "" : " (DIFFERENT BYTES)", bare, whole / bare, writing / bare);
  if (isql >= 0)
    std::printf("isql-fb OUTPUT of the same rows:    %.2f s (%lld bytes)\n", isql,
                static_cast<long long>(QFileInfo(dir + QStringLiteral("/isql.txt")).size()));
  return same ? 0 : 1;
}
