#include "query/designer/TextReportPrinter.h"

namespace query::designer {

namespace {

TextReportPrinter& installed() {
  static TextReportPrinter printer;
  return printer;
}

}  // namespace

void setTextReportPrinter(TextReportPrinter printer) {
  installed() = std::move(printer);
}

const TextReportPrinter& textReportPrinter() {
  return installed();
}

}  // namespace query::designer
