#include "query/designer/ChartReport.h"

#include "platform/crystal/PrintEngine.h"
#include "query/designer/ChartRequest.h"
#include "query/designer/ChartTable.h"
#include "ui/Prompter.h"

namespace query::designer {

const QString kReportNonAperto =
    QStringLiteral("ATTENZIONE: directory bin errata o CRW non inizializzato");

bool drawChart(ChartTable& table, db::DataSet& answer, const ChartRequest& request,
               const QString& reportPath, platform::crystal::PrintEngine& engine,
               const ChartOutput& output) {
  QString error;
  if (!table.fill(answer, request, error)) {
    ui::error(error);
    return false;
  }
  const int job = engine.openPrintJob(reportPath);
  if (job == 0) {
    // A file that is there but is not a report says what is wrong with it.
    ui::warning(engine.reportMissing() ? kReportNonAperto
                                       : kReportNonAperto + QLatin1Char('\r') + engine.lastError());
    return false;
  }
  bool drawn = engine.setNthTableLocation(job, 0, table.location());
  for (const auto& [name, text] : chartFormulas(request))
    drawn = drawn && engine.setFormula(job, name, text);
  if (output.file.isEmpty())
    drawn = drawn && engine.outputToWindow(job, QStringLiteral("STAMPA GRAFICO"), 80, 100, 550, 350,
                                           0, output.parent);
  else
    drawn = drawn && engine.outputToFile(job, output.file);
  drawn = drawn && engine.startPrintJob(job, false);
  if (!drawn) ui::error(engine.lastError());
  engine.closePrintJob(job);
  return drawn;
}

}  // namespace query::designer
