#pragma once

#include <QString>

#include "query/designer/TextReportPrinter.h"

// The text report printer over the report engine: opens the job's report,
// points its table 0 and 1 at the page and line tables and shows the pages
// in a window, or writes them to a PDF file for batch use.
namespace query::designer {

enum class TextReportOutcome {
  Printed,
  NotOpened,  // the report file is missing or not valid: nothing was shown
  Failed,     // the report opened but its tables or output failed (shown)
};

// Prints `job` through the report engine; to a window (waiting until it is
// closed) when `pdfPath` is empty, else to that PDF file (native path). A
// report that opens but fails later says why in a message box.
TextReportOutcome printTextReport(const TextReportJob& job, const QString& pdfPath = {});

// A printer for setTextReportPrinter: to windows, or to `pdfPath`. It
// answers false only when the report could not be opened, the caller's cue
// for its own message; `outcome`, when given, receives every outcome.
TextReportPrinter textReportEngine(const QString& pdfPath = {},
                                   TextReportOutcome* outcome = nullptr);

}  // namespace query::designer
