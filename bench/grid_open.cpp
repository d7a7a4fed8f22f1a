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
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "HostSchema.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "grid/GridModel.h"
#include "grid/QuovGrid.h"
#include "grid/RQuovGridForm.h"
#include "support/ScriptedUi.h"

namespace {

constexpr int kLabels = 1000000;
constexpr int kBatch = 100000;
const QString kUser = QStringLiteral("SYSDBA");
const QString kPassword = QStringLiteral("masterkey");
const QString kStatement = QStringLiteral("SELECT * FROM ETICHETTE WHERE IDLANCIOSTAMPA IS NULL");

void run(db::Database& database, const QString& statement) {
  db::Transaction transaction(database);
  db::Query query(database, transaction);
  query.sql << statement;
  query.execSql();
  transaction.commit();
}

int labelCount(db::Database& database) {
  db::Transaction transaction(database);
  db::Query query(database, transaction);
  query.sql << QStringLiteral("SELECT COUNT(*) FROM ETICHETTE");
  query.open();
  return query.value(0, 0).toInt();
}

// Builds the database unless a complete one is already there.
bool prepareDatabase(const QString& path) {
  if (QFile::exists(path)) {
    db::Database database;
    database.attach(path, kUser, kPassword);
    if (labelCount(database) == kLabels) return true;
    database.detach();
    QFile::remove(path);
  }
  std::printf("building %d labels in %s ...\n", kLabels, qPrintable(path));
  std::fflush(stdout);
  QElapsedTimer timer;
  timer.start();
  db::Database database;
  database.create(path, kUser, kPassword, 8192);
  host::createArchiveSchema(database);
  for (int first = 1; first <= kLabels; first += kBatch) {
    run(database,
        QStringLiteral("EXECUTE BLOCK AS DECLARE I INTEGER = %1; BEGIN WHILE (I < %2) DO BEGIN "
                       "INSERT INTO ETICHETTE (ID, IDACQUISIZIONE, CODICE, DATIPRODOTTO, "
                       "DESCRIZIONE, CAUSALE, CODICE_EAN) VALUES (:I, :I / 1000 + 1, "
                       "'A' || LPAD(MOD(:I * 7919, 1000003), 7, '0'), 'Dati prodotto ' || :I, "
                       "'Articolo di prova numero ' || :I, 'VENDITA', "
                       "LPAD(:I, 13, '0')); I = I + 1; END END")
            .arg(first)
            .arg(first + kBatch));
  }
  // The search runs at every keystroke for this user, so that a keystroke's
  // reopening is measured without the one-second wait.
  run(database,
      QStringLiteral("INSERT INTO SETGRID (CODICEUTENTE, CODICEPROGETTO, ABILITATIMERRIC) "
                     "VALUES (1, 123, 0)"));
  std::printf("built in %.1f s\n", static_cast<double>(timer.elapsed()) / 1000.0);
  return labelCount(database) == kLabels;
}

long peakMemoryKb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').front().toLong();
  return -1;
}

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

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
  QString dir = qEnvironmentVariable("ORBELAN_BENCH_DIR");
  if (dir.isEmpty()) dir = QDir::tempPath() + QStringLiteral("/orbelan-bench");
  QDir().mkpath(dir);
  const QString path = dir + QStringLiteral("/etichette-1m.fdb");
  if (!prepareDatabase(path)) {
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
  const long peak = peakMemoryKb();

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
              last.firstScreenRows, median(opens), *std::min_element(opens.begin(), opens.end()));
  std::printf("search keystroke to first screen: median %.1f ms, min %.1f ms (goal < 300 ms)\n",
              median(searches), *std::min_element(searches.begin(), searches.end()));
  std::printf("  statement: %s\n", qPrintable(last.searchStatement.join(QStringLiteral(" / "))));
  std::printf("peak memory (VmHWM): %.1f MB (goal < 150 MB)\n", static_cast<double>(peak) / 1024.0);
  std::printf(
      "isql-fb, whole run: first page %.1f ms, search page %.1f ms, attach and a trivial "
      "select %.1f ms\n",
      isqlOpen, isqlSearch, isqlNothing);
  return 0;
}
