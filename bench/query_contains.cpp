// A contains search of the query designer on 1,000,000 labels: the engine
// runs the rows (every field shown, DESCRIZIONE containing a text found in
// a small share of the labels) into the answer and the grid's model takes
// its first screen; beside it, in the same run, the bare Firebird client
// prepares the same statement, executes it and fetches as many rows. Both
// are the median of several runs on the same warm database, alternated.
//
// The database is the one grid_open uses (see BenchDatabase.h).
// Usage: query_contains [runs] [text]
#include <firebird/Interface.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <vector>

#include "BenchDatabase.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "grid/GridModel.h"
#include "query/engine/QueryEngine.h"
#include "query/model/RowList.h"

namespace {

const QStringList kSnapshotNoWait{QStringLiteral("isc_tpb_concurrency"),
                                  QStringLiteral("isc_tpb_nowait")};

struct Measure {
  double ms = 0;
  int rows = 0;
  QStringList statement;
};

// The designer's execute button and the result grid's first screen: the
// answer is opened by the engine, the model fetches its first batch and
// every cell of it is turned into the text the grid paints.
Measure throughEngine(db::Database& database, const QString& text) {
  db::Transaction transaction(database, kSnapshotNoWait);
  query::model::RowList rows;
  query::engine::QueryEngine engine(database, transaction, rows, QStringLiteral("ETICHETTE"));
  // As the designer opens: the rows of every field, which also teaches the
  // engine the field types.
  query::model::RiempiTabIntTmp(rows, engine.tableFields().fieldNames(QStringLiteral("ETICHETTE")));
  {
    query::model::InternalChange change(rows);
    rows.setCondizione(rows.indexOf(QStringLiteral("DESCRIZIONE")), text);
  }
  db::Query answer(database, transaction);
  grid::GridModel model;
  model.setSource(&answer);

  Measure result;
  QElapsedTimer timer;
  timer.start();
  if (!engine.EseguiInterrogazione(answer, false)) {
    std::fprintf(stderr, "the engine's statement failed: %s\n", qPrintable(engine.lastError()));
    return result;
  }
  // What the grid does on the answer's opening notice; then the view asks
  // for a batch, as the opened answer shows fewer rows than fit on the screen.
  model.sourceOpened();
  if (model.canFetchMore({})) model.fetchMore({});
  const int characters = bench::readShownText(model);
  result.ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  result.rows = model.rowCount();
  result.statement = answer.sql;
  if (characters == 0) std::fprintf(stderr, "the first screen is empty\n");
  return result;
}

// The same statement through the client library alone: prepare, open the
// cursor, fetch `rows` rows into the message buffer.
double bare(db::Database& database, const QStringList& statement, int rows) {
  db::Transaction transaction(database, kSnapshotNoWait);
  transaction.start();
  const QByteArray text = statement.join('\n').toLatin1();
  Firebird::ThrowStatusWrapper status(db::master()->getStatus());
  QElapsedTimer timer;
  timer.start();
  int fetched = 0;
  try {
    Firebird::IStatement* prepared = database.attachment()->prepare(
        &status, transaction.handle(), 0, text.constData(), SQL_DIALECT_V6,
        Firebird::IStatement::PREPARE_PREFETCH_METADATA);
    Firebird::IMessageMetadata* metadata = prepared->getOutputMetadata(&status);
    std::vector<unsigned char> buffer(metadata->getMessageLength(&status));
    Firebird::IResultSet* cursor =
        prepared->openCursor(&status, transaction.handle(), nullptr, nullptr, metadata, 0);
    while (fetched < rows &&
           cursor->fetchNext(&status, buffer.data()) == Firebird::IStatus::RESULT_OK)
      ++fetched;
    cursor->close(&status);
    metadata->release();
    prepared->free(&status);
  } catch (const Firebird::FbException& error) {
    char message[512];
    db::master()->getUtilInterface()->formatStatus(message, sizeof message, error.getStatus());
    std::fprintf(stderr, "bare client: %s\n", message);
  }
  const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  status.dispose();
  if (fetched < rows) std::fprintf(stderr, "bare client fetched %d of %d rows\n", fetched, rows);
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QCoreApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
  // "777" is in about 0.4% of the descriptions, spread over the whole table:
  // the first screen needs a scan of some ten thousand labels.
  const QString text = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("777");
  db::Database database;
  if (!bench::attachLabelDatabase(database)) return 1;

  // One run of each to warm the page cache and learn the statement.
  const Measure first = throughEngine(database, text);
  if (first.rows == 0) return 1;
  bare(database, first.statement, first.rows);

  std::vector<double> engineMs, bareMs;
  for (int i = 0; i < runs; ++i) {
    engineMs.push_back(throughEngine(database, text).ms);
    bareMs.push_back(bare(database, first.statement, first.rows));
  }
  const double ours = bench::median(engineMs);
  const double reference = bench::median(bareMs);
  std::printf("ETICHETTE: %d rows, DESCRIZIONE contains '%s', %d runs\n", bench::kLabels,
              qPrintable(text), runs);
  std::printf("  statement: %s\n", qPrintable(first.statement.join(' ')));
  std::printf("engine and grid, first screen (%d rows): median %.2f ms\n", first.rows, ours);
  std::printf("bare client prepare, execute, fetch %d rows: median %.2f ms\n", first.rows,
              reference);
  std::printf("ratio %.3f (goal <= 1.15)\n", ours / reference);
  return 0;
}
