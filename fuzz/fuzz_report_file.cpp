// A report file of any content, read as the report engine reads it. What it
// accepts must hold within the bounds the engine draws with.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/crystal/ReportFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  platform::crystal::ReportDefinition report;
  QString error;
  if (!platform::crystal::parseReportFile(bytes, report, error)) {
    if (error.isEmpty()) std::abort();
    return 0;
  }
  const auto& text = report.text;
  if (!(text.pointSize >= 4 && text.pointSize <= 72)) std::abort();
  for (const double margin :
       {text.margins.left(), text.margins.top(), text.margins.right(), text.margins.bottom()})
    if (!(margin >= 0 && margin <= 100)) std::abort();
  return 0;
}
