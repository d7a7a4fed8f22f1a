// A running sum (SOMMAPROG) over a 100,000-row answer, beside the same query
// without the formula, measured two ways: from the designer's execute
// button to the result grid's first screen (the engine opens the answer,
// writes its rows with their running totals into the local work table and
// presents that table; the grid's model reads its first screen), and to the
// last row read, as `orbelan query --run` reads the answer. Each is the
// median of several runs on the same warm database, with every field of the
// labels shown (as the designer opens) and with three; on the embedded
// database and, when ORBELAN_TEST_SERVER names one (with ISC_USER and
// ISC_PASSWORD), on the same file through that Firebird server.
//
// The database is the one grid_open uses (see BenchDatabase.h); the local
// work tables go to a temporary folder.
// Usage: sommaprog_time [runs] [rows]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "BenchDatabase.h"
#include "core/Paths.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "grid/GridModel.h"
#include "query/engine/QueryEngine.h"
#include "query/model/RowList.h"

namespace {

struct Measure {
  double ms = 0;
  int columns = 0;
  int firstScreenRows = 0;
};

// How far a run goes before the clock stops.
enum class Until { FirstScreen, LastRow };

// `formula`: the running sum's arguments, empty for the plain query.
Measure run(db::Database& database, const QString& base, int rowCount, const QString& formula,
            bool threeFields, Until until) {
  db::Transaction transaction(
      database, {QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait")});
  query::model::RowList rows;
  query::engine::QueryEngine engine(database, transaction, rows, QStringLiteral("ETICHETTE"));
  engine.setWorkArea(base, 1);
  engine.setNotifier(
      [](const QString& message) { std::fprintf(stderr, "message: %s\n", qPrintable(message)); });
  query::model::RiempiTabIntTmp(rows, engine.tableFields().fieldNames(QStringLiteral("ETICHETTE")));
  {
    query::model::InternalChange change(rows);
    if (threeFields)
      for (int i = 0; i < rows.count(); ++i)
        if (!QStringList{"ID", "CODICE", "DESCRIZIONE"}.contains(rows.at(i).nome))
          rows.setMostra(i, query::model::Mostra::Hidden);
    rows.setCondizione(rows.indexOf(QStringLiteral("ID")),
                       QStringLiteral("(ID<=%1)").arg(rowCount));
    if (!formula.isEmpty())
      rows.setCondizione(rows.indexOf(QStringLiteral("DESCRIZIONE")),
                         QStringLiteral("(CALC (SOMMAPROG(%1)) AS PROGR)").arg(formula));
  }
  Measure result;
  {
    db::Query answer(database, transaction);
    grid::GridModel model;
    model.setSource(&answer);
    QElapsedTimer timer;
    timer.start();
    if (!engine.EseguiInterrogazione(answer, false)) {
      std::fprintf(stderr, "the run failed: %s\n", qPrintable(engine.lastError()));
      return result;
    }
    model.sourceOpened();
    if (until == Until::FirstScreen) {
      if (model.canFetchMore({})) model.fetchMore({});
      bench::readShownText(model);
    } else {
      while (answer.canFetchMore()) answer.fetchMore(4096);
    }
    result.ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    result.columns = answer.fieldCount();
    result.firstScreenRows = model.rowCount();
    model.setSource(nullptr);
  }
  return result;
}

// Both measures with every field shown and with three, for a running sum in
// the answer's own order and one in an order of its own; false when a run
// failed.
bool measure(db::Database& database, const QString& base, int runs, int rowCount) {
  for (const bool three : {false, true}) {
    for (const Until until : {Until::FirstScreen, Until::LastRow}) {
      for (const QString& formula : {QStringLiteral("ID"), QStringLiteral("ID,ID")}) {
        // One run of each to warm the page cache.
        if (run(database, base, rowCount, formula, three, until).columns == 0) return false;
        run(database, base, rowCount, QString(), three, until);
        std::vector<double> withSum, plain;
        int columns = 0;
        for (int i = 0; i < runs; ++i) {
          const Measure measured = run(database, base, rowCount, formula, three, until);
          withSum.push_back(measured.ms);
          columns = measured.columns;
          plain.push_back(run(database, base, rowCount, QString(), three, until).ms);
        }
        const double sum = bench::median(withSum);
        const double without = bench::median(plain);
        std::printf(
            "  %2d columns, to the %-12s SOMMAPROG(%s) %5.0f ms, without it %5.0f ms "
            "(%.2fx)\n",
            columns,
            until == Until::FirstScreen ? "first screen:" : "last row:", qPrintable(formula), sum,
            without, without > 0 ? sum / without : 0.0);
      }
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QCoreApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
  const int rowCount = argc > 2 ? std::max(1, atoi(argv[2])) : 100000;
  QTemporaryDir work;
  const QString base = core::storedPath(work.path()) + u'\\';
  {
    db::Database database;
    if (!bench::attachLabelDatabase(database)) return 1;
    std::printf("ETICHETTE, ID <= %d, %d runs, embedded database\n", rowCount, runs);
    if (!measure(database, base, runs, rowCount)) return 1;
  }
  const QString server = qEnvironmentVariable("ORBELAN_TEST_SERVER");
  if (!server.isEmpty()) {
    db::Database database;
    database.attach(server + u':' + bench::labelDatabasePath(), qEnvironmentVariable("ISC_USER"),
                    qEnvironmentVariable("ISC_PASSWORD"));
    std::printf("ETICHETTE, ID <= %d, %d runs, through the server %s\n", rowCount, runs,
                qPrintable(server));
    if (!measure(database, base, runs, rowCount)) return 1;
  }
  return 0;
}
