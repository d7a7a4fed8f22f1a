#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace query::designer {

// A text report over the text print generator's tables: the report file,
// the paths of its page table (table 0) and line table (table 1), the
// window it shows in.
struct TextReportJob {
  QString reportPath;  // stored path of the .rpt file
  QString pagesTable;  // directory + "\" + file name
  QString linesTable;
  QString title;
  QWidget* parent = nullptr;
};

// Prints a text report; false when the report cannot be opened or no text
// report engine is there.
using TextReportPrinter = std::function<bool(const TextReportJob&)>;

// The text report engine the query printing hands its text reports to;
// none until one is installed.
void setTextReportPrinter(TextReportPrinter printer);
const TextReportPrinter& textReportPrinter();

}  // namespace query::designer
