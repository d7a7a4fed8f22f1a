// The query printing of a 10,000-record answer of 8 columns on the
// 1,000,000-label archive into a PDF file: the advanced list (type 0) with a
// total, the simple list of text lines (type 1) and the text report of the
// shipped TEXT.rpt (type 2), each timed from the print command to the file
// in place, with the process's peak memory.
// Usage: query_print [runs]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "BenchDatabase.h"
#include "DemoReports.h"
#include "core/Paths.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/reports/ListEngine.h"
#include "query/designer/PrintSources.h"
#include "query/designer/QueryPrint.h"
#include "query/designer/TextReportEngine.h"
#include "query/model/AnswerCodes.h"

namespace {

double elapsedMs(const QElapsedTimer& timer) {
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The pages of a PDF file Qt wrote: one "/Type /Page" line each.
int pdfPages(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return 0;
  return static_cast<int>(file.readAll().count("/Type /Page\n"));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
  db::Database database;
  if (!bench::attachLabelDatabase(database)) return 1;
  QTemporaryDir dir;
  qputenv("ORBELAN_WINDOWS_DIR", (dir.path() + QStringLiteral("/")).toLocal8Bit());
  db::Transaction transaction(database);

  query::designer::PrintPlace place;
  place.directoryBin = core::storedPath(dir.path()) + QStringLiteral("\\bin\\");
  place.directoryLavoro = core::storedPath(dir.path()) + QStringLiteral("\\lavoro\\");
  place.ditta = QStringLiteral("BENCH");
  query::model::AnswerCodes codes;
  codes.setCode(0, 10);  // a total on ID
  if (host::installDemoReports(dir.filePath(QStringLiteral("bin/report"))).isEmpty()) return 1;

  for (const int type : {0, 1, 2}) {
    std::vector<double> times;
    int pages = 0;
    for (int run = 0; run < runs; ++run) {
      db::Query answer(database, transaction);
      answer.sql = QStringList{
          "SELECT FIRST 10000 ID, IDACQUISIZIONE, CODICE, DESCRIZIONE, CAUSALE, ORDINE, CITTA,",
          "CODICE_EAN FROM ETICHETTE ORDER BY ID"};
      const QString pdf = dir.filePath(QStringLiteral("stampa%1.pdf").arg(type));
      query::designer::setTextReportPrinter(query::designer::textReportEngine(pdf));
      QElapsedTimer timer;
      timer.start();
      answer.open();
      platform::reports::ListEngine engine;
      engine.setPdfOutput(pdf);
      query::model::DesignerFlags flags;
      query::designer::PrintMemory memory;
      query::designer::QueryPrint print(engine, place, flags, memory);
      query::designer::PrintChoices choices;
      choices.type = type;
      choices.title = QStringLiteral("Prova di stampa");
      if (type == 1) choices.font.name = QStringLiteral("Courier New");
      const bool printed = print.print(query::designer::answerPrintSource(answer, codes), choices);
      times.push_back(elapsedMs(timer));
      if (!printed || !QFileInfo::exists(pdf)) {
        std::fprintf(stderr, "type %d printed nothing: %s\n", type, qPrintable(engine.lastError()));
        return 1;
      }
      pages = type == 2 ? pdfPages(pdf) : engine.pagesPrinted();
    }
    std::printf("type %d: 10,000 records x 8 columns, %d pages, median %.0f ms over %d runs\n",
                type, pages, bench::median(times), runs);
  }
  std::printf("peak memory %ld KiB\n", bench::peakMemoryKb());
  return 0;
}
