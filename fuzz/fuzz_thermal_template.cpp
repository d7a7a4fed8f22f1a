// A thermal template file and a label's values (Windows-1252 bytes, the
// template first, then up to six values, each part ended by a zero byte)
// through the template's reading, the rendering of the tags, the printer
// document and its checkable form.
#include <QByteArrayList>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/Cp1252.h"
#include "labels/ThermalTemplate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QByteArrayList parts = bytes.split('\0');
  const QStringList lines = labels::thermalTemplateLines(parts.takeFirst());
  while (parts.size() < 6) parts << QByteArray();
  const labels::LabelRow row{core::fromCp1252(parts[0]), core::fromCp1252(parts[1]),
                             core::fromCp1252(parts[2]), core::fromCp1252(parts[3]),
                             core::fromCp1252(parts[4]), core::fromCp1252(parts[5])};

  // A template's lines hold no line end of their own, and the document of
  // an untouched template reads back as the same lines.
  for (const QString& line : lines)
    if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n'))) std::abort();
  const QByteArray plain = labels::thermalDocument(labels::renderThermalTemplate(lines, {}));
  if (!lines.isEmpty() && !lines.last().isEmpty() && labels::thermalTemplateLines(plain) != lines)
    std::abort();

  for (const bool excludeSerial : {false, true}) {
    const QByteArray document = labels::thermalDocument(
        labels::renderThermalTemplate(lines, labels::thermalTags(row, excludeSerial)));
    // The checkable form shows every control byte as a mark: the only
    // line ends left are the ones after "<LF>".
    const QString shown = labels::visibleBytes(document);
    for (qsizetype i = 0; i < shown.size(); ++i) {
      const QChar c = shown.at(i);
      if (c == QLatin1Char('\n') && !shown.left(i).endsWith(QLatin1String("<LF>"))) std::abort();
      if (c != QLatin1Char('\n') && c.unicode() < 0x20) std::abort();
    }
  }
  return 0;
}
