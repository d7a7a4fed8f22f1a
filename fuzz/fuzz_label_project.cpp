// A label project file of any content, read as the label engine reads it.
// A project it accepts, written out and read again, writes out the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/reports/LabelProjectFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace platform::reports;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  LabelProject project;
  QString error;
  if (!parseLabelProject(bytes, project, error)) {
    if (error.isEmpty()) std::abort();
    return 0;
  }
  const QByteArray written = formatLabelProject(project);
  LabelProject again;
  if (!parseLabelProject(written, again, error)) std::abort();
  if (formatLabelProject(again) != written) std::abort();
  return 0;
}
