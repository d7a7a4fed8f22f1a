#include "query/designer/TextReportEngine.h"

#include "platform/crystal/PrintEngine.h"
#include "ui/Prompter.h"

namespace query::designer {

TextReportOutcome printTextReport(const TextReportJob& job, const QString& pdfPath) {
  platform::crystal::PrintEngine engine;
  const int number = engine.openPrintJob(job.reportPath);
  if (number == 0) return TextReportOutcome::NotOpened;
  const bool started =
      engine.setNthTableLocation(number, 0, job.pagesTable) &&
      engine.setNthTableLocation(number, 1, job.linesTable) &&
      (pdfPath.isEmpty() ? engine.outputToWindow(
                               number, job.title, platform::crystal::kDefaultPlace,
                               platform::crystal::kDefaultPlace, platform::crystal::kDefaultPlace,
                               platform::crystal::kDefaultPlace, 0, job.parent)
                         : engine.outputToFile(number, pdfPath)) &&
      engine.startPrintJob(number, true);
  const QString error = engine.lastError();
  engine.closePrintJob(number);
  if (started) return TextReportOutcome::Printed;
  ui::error(error);
  return TextReportOutcome::Failed;
}

TextReportPrinter textReportEngine(const QString& pdfPath, TextReportOutcome* outcome) {
  return [pdfPath, outcome](const TextReportJob& job) {
    const TextReportOutcome result = printTextReport(job, pdfPath);
    if (outcome) *outcome = result;
    return result != TextReportOutcome::NotOpened;
  };
}

}  // namespace query::designer
