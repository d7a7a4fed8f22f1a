// The label grid on 1,000,000 labels in an embedded database, set up as the
// label window sets it up: time from opening the query to the first screen
// shown, time to reopen after a search keystroke on an indexed column, peak
// memory of the process; and, as the reference, isql-fb running the same
// first-page statements.
//
// The database is built once and kept in a fixed temporary folder
// (ORBELAN_BENCH_DIR, default <temp>/orbelan-bench) so that later runs only
// measure. Usage: grid_open [runs]
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "BenchDatabase.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "grid/GridModel.h"
#include "grid/QuovGrid.h"
#include "grid/RQuovGridForm.h"
#include "support/ScriptedUi.h"

namespace {

using bench::kLabels;
const QString kUser = QStringLiteral("SYSDBA");
const QString kPassword = QStringLiteral("masterkey");
const QString kStatement = QStringLiteral("SELECT * FROM ETICHETTE WHERE IDLANCIOSTAMPA IS NULL");

// Lets the view ask for the rows it shows until it asks no more.
void settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

struct Measures {
  double openMs = 0;
  double searchMs = 0;
  int firstScreenRows = 0;
  QStringList searchStatement;
};

// One life of the grid, as the label window lives it.
Measures measure(const QString& path) {
  Measures result;
  db::Database database;
  database.attach(path, kUser, kPassword);
  db::Transaction transaction(
      database, {QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait")});
  db::Query query(database, transaction);
  TQuovGrid grid;
  query.setBeforeOpen([&](db::DataSet&) {
    query.sql = QStringList{kStatement};
    grid.SQLIniziale = query.sql;
    grid.CaricaAspettoColonne();
  });
  grid.CodiceProgetto = 123;
  grid.Situazione = 1;
  grid.Utente = 1;
  grid.TabellaBase = QStringLiteral("ETICHETTE");
  grid.TabellaPiccola = true;
  grid.resize(683, 474);
  grid.show();
  if (!QTest::qWaitForWindowExposed(&grid)) std::fprintf(stderr, "the grid was not shown\n");

  QElapsedTimer timer;
  timer.start();
  grid.SetSorgenteDati(&query);
  query.open();
  settle();
  result.openMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  result.firstScreenRows = grid.model()->rowCount();

  // A keystroke in the search window on ID, the primary key.
  ScriptedPrompter prompter;
  ScopedPrompter scoped(prompter);
  grid.setCurrentIndex(grid.model()->index(0, 0));
  prompter.script([&](QDialog& dialog) {
    auto& form = dynamic_cast<TRQuovGridForm&>(dialog);
    QElapsedTimer keystroke;
    keystroke.start();
    QTest::keyClick(form.EditStringa, Qt::Key_7);
    settle();
    result.searchMs = static_cast<double>(keystroke.nsecsElapsed()) / 1e6;
    result.searchStatement = query.sql;
    QTest::keyClick(form.EditStringa, Qt::Key_Escape);
    return 2;
  });
  grid.RicercaCampoCorrente();
  grid.SetSorgenteDati(nullptr);
  return result;
}

double isqlMs(const QString& path, const QString& statement) {
  QProcess isql;
  QElapsedTimer timer;
  timer.start();
  isql.start(QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-user"), kUser,
                                         QStringLiteral("-password"), kPassword, path});
  if (!isql.waitForStarted()) return -1;
  isql.write(("SET HEADING OFF;\n" + statement + ";\nQUIT;\n").toUtf8());
  isql.closeWriteChannel();
  isql.waitForFinished(60000);
  if (isql.exitCode() != 0)
    std::fprintf(stderr, "isql-fb: %s\n", isql.readAllStandardError().constData());
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
  const QString path = bench::labelDatabasePath();
  if (!bench::prepareLabelDatabase(path)) {
    std::fprintf(stderr, "the benchmark database is incomplete\n");
    return 1;
  }

  std::vector<double> opens, searches;
  Measures last;
  for (int i = 0; i < runs; ++i) {
    last = measure(path);
    opens.push_back(last.openMs);
    searches.push_back(last.searchMs);
  }
  const long peak = bench::peakMemoryKb();

  QStringList firstPage{QStringLiteral("SELECT FIRST %1 *").arg(last.firstScreenRows),
                        QStringLiteral("FROM ETICHETTE WHERE IDLANCIOSTAMPA IS NULL"),
                        QStringLiteral("ORDER BY ETICHETTE.ID")};
  QStringList searchPage = last.searchStatement;
  searchPage[0].replace(QStringLiteral("SELECT *"),
                        QStringLiteral("SELECT FIRST %1 *").arg(last.firstScreenRows));
  const double isqlOpen = isqlMs(path, firstPage.join('\n'));
  const double isqlSearch = isqlMs(path, searchPage.join('\n'));
  const double isqlNothing = isqlMs(path, QStringLiteral("SELECT 1 FROM RDB$DATABASE"));

  std::printf("ETICHETTE: %d rows, %d runs\n", kLabels, runs);
  std::printf("open grid to first screen (%d rows): median %.1f ms, min %.1f ms (goal < 200 ms)\n",
              last.firstScreenRows, bench::median(opens),
              *std::min_element(opens.begin(), opens.end()));
  std::printf("search keystroke to first screen: median %.1f ms, min %.1f ms (goal < 300 ms)\n",
              bench::median(searches), *std::min_element(searches.begin(), searches.end()));
  std::printf("  statement: %s\n", qPrintable(last.searchStatement.join(QStringLiteral(" / "))));
  std::printf("peak memory (VmHWM): %.1f MB (goal < 150 MB)\n", static_cast<double>(peak) / 1024.0);
  std::printf(
      "isql-fb, whole run: first page %.1f ms, search page %.1f ms, attach and a trivial "
      "select %.1f ms\n",
      isqlOpen, isqlSearch, isqlNothing);
  return 0;
}
