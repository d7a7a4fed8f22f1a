// A chart of 1,000 points drawn by a chart report and saved: the report
// engine reads the chart table, builds the chart and writes the PNG image
// (and, beside it, the PDF document), each run timed from opening the job to
// closing it. The shipped bar, line and pie reports; the best and the mean of
// the runs. Fails when a PNG run of the bar chart takes a second or more.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "DemoReports.h"
#include "core/Paths.h"
#include "platform/crystal/PrintEngine.h"
#include "platform/localstore/LocalTable.h"

namespace {

using platform::localstore::ColumnType;

bool writeTable(const QString& directory, int points) {
  platform::localstore::LocalTable table(directory, QStringLiteral("GRAFTMP.DB"));
  table.setColumns({{QStringLiteral("Descrizione1"), ColumnType::Text, 20},
                    {QStringLiteral("Descrizione2"), ColumnType::Text, 20},
                    {QStringLiteral("Valore"), ColumnType::Float}});
  if (!table.create() || !table.open() || !table.beginBatch()) return false;
  for (int i = 1; i <= points; ++i)
    if (!table.append({QStringLiteral("%1.CLIENTE %2").arg(i, 4, 10, QLatin1Char('0')).arg(i),
                       QStringLiteral("IMPORTO"), (i * 37) % 1000 + 0.5}))
      return false;
  return table.commitBatch();
}

// Milliseconds of one run, or -1 after saying why it failed.
double drawOnce(const QString& report, const QString& table, const QString& output) {
  QElapsedTimer timer;
  timer.start();
  platform::crystal::PrintEngine engine;
  const int job = engine.openPrintJob(report);
  const bool done = job != 0 && engine.setNthTableLocation(job, 0, table) &&
                    engine.setFormula(job, QStringLiteral("Titolo"), QStringLiteral("'Vendite'")) &&
                    engine.outputToFile(job, output) && engine.startPrintJob(job, true);
  if (!done) {
    std::fprintf(stderr, "chart_draw: %s\n", engine.lastError().toLocal8Bit().constData());
    return -1;
  }
  engine.closePrintJob(job);
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  constexpr int kPoints = 1000;
  QTemporaryDir dir;
  host::installDemoReports(dir.filePath(QStringLiteral("report")));
  const QString stored = core::storedPath(dir.path());
  if (!writeTable(stored, kPoints)) {
    std::fprintf(stderr, "chart_draw: cannot write the chart table\n");
    return 1;
  }
  const QString table = stored + QStringLiteral("\\GRAFTMP.DB");
  double limit = 0;
  for (const char* report : {"QGr01N.RPT", "QGr03L.RPT", "QGr05T.RPT"}) {
    for (const char* format : {"png", "pdf"}) {
      double best = 1e9;
      double total = 0;
      for (int i = 0; i < runs; ++i) {
        const double ms = drawOnce(dir.filePath(QStringLiteral("report/") + QLatin1String(report)),
                                   table, dir.filePath(QStringLiteral("grafico.") + format));
        if (ms < 0) return 1;
        best = std::min(best, ms);
        total += ms;
      }
      std::printf("chart_draw: %d points, %s to %s: best %.0f ms, mean %.0f ms of %d runs\n",
                  kPoints, report, format, best, total / runs, runs);
      if (QLatin1String(report) == QLatin1String("QGr01N.RPT") && QLatin1String(format) == "png")
        limit = total / runs;
    }
  }
  return limit < 1000 ? 0 : 1;
}
