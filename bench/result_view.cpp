// The designer's result view on the 1,000,000-label archive: "N.Rec." over
// the whole answer (time and the process's peak memory), and a sort update
// on an indexed column (ID, the primary key) to the first screen: the sort
// lines replaced, the answer reopened, the first batch fetched and turned
// into the text the grid paints. Usage: result_view [runs]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <cstdio>
#include <vector>

#include "BenchDatabase.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "grid/GridModel.h"
#include "query/engine/AnswerAggregates.h"
#include "query/engine/DigitGrouping.h"
#include "query/engine/QueryEngine.h"
#include "query/engine/SortKeys.h"
#include "query/model/RowList.h"

namespace {

double elapsedMs(const QElapsedTimer& timer) {
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The first screen as the grid shows it: a batch of rows and their texts.
int firstScreen(grid::GridModel& model) {
  model.sourceOpened();
  if (model.canFetchMore({})) model.fetchMore({});
  return bench::readShownText(model);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
  db::Database database;
  if (!bench::attachLabelDatabase(database)) return 1;
  db::Transaction transaction(
      database, {QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait")});
  query::model::RowList rows;
  query::engine::QueryEngine engine(database, transaction, rows, QStringLiteral("ETICHETTE"));
  query::model::RiempiTabIntTmp(rows, engine.tableFields().fieldNames(QStringLiteral("ETICHETTE")));
  db::Query answer(database, transaction);
  grid::GridModel model;
  model.setSource(&answer);
  if (!engine.EseguiInterrogazione(answer, false)) {
    std::fprintf(stderr, "the answer did not open: %s\n", qPrintable(engine.lastError()));
    return 1;
  }
  firstScreen(model);
  const long before = bench::peakMemoryKb();

  std::vector<double> counts;
  QString shown;
  for (int i = 0; i < runs; ++i) {
    QElapsedTimer timer;
    timer.start();
    shown = query::engine::recordCountText(query::engine::countRows(answer), QLocale());
    counts.push_back(elapsedMs(timer));
  }
  const long peak = bench::peakMemoryKb();

  // Sort keys on ID, alternately descending and ascending, so that every
  // update really changes the statement. The primary key's index is
  // ascending: only the ascending order can walk it.
  std::vector<double> sorts[2];
  for (int i = 0; i < runs * 2; ++i) {
    const bool descending = i % 2 == 0;
    engine.codes().setCode(0, descending ? 10100 : 100);
    QElapsedTimer timer;
    timer.start();
    model.sourceClosing();
    const QString refused = query::engine::applySortKeys(answer, engine);
    if (!refused.isEmpty()) {
      std::fprintf(stderr, "the sorted answer did not open: %s\n", qPrintable(refused));
      return 1;
    }
    firstScreen(model);
    sorts[descending ? 1 : 0].push_back(elapsedMs(timer));
  }

  std::printf("ETICHETTE: %d labels, every field shown, %d runs\n", bench::kLabels, runs);
  std::printf("  N.Rec. (\"%s\"): median %.1f ms (goal < 2000 ms)\n", qPrintable(shown),
              bench::median(counts));
  std::printf("  peak memory: %.1f MB before counting, %.1f MB after (goal < 200 MB)\n",
              static_cast<double>(before) / 1024.0, static_cast<double>(peak) / 1024.0);
  std::printf(
      "  sort update on ID to the first screen: median %.1f ms ascending (goal < 300 "
      "ms), %.1f ms descending\n",
      bench::median(sorts[0]), bench::median(sorts[1]));
  return 0;
}
