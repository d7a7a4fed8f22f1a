#include "platform/reports/PdfCheck.h"

#include <QByteArray>
#include <QFile>
#include <algorithm>

namespace platform::reports {

bool pdfIsWhole(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const qint64 size = file.size();
  constexpr qint64 kTail = 1024;
  if (size < 32 || !file.seek(std::max<qint64>(0, size - kTail))) return false;
  const QByteArray tail = file.read(kTail).trimmed();
  if (!tail.endsWith("%%EOF")) return false;
  const qsizetype at = tail.lastIndexOf("startxref");
  if (at < 0) return false;
  bool ok = false;
  const qint64 xref = tail.mid(at + 9, tail.size() - 5 - at - 9).trimmed().toLongLong(&ok);
  if (!ok || xref <= 0 || xref >= size || !file.seek(xref)) return false;
  return file.read(4) == "xref";
}

}  // namespace platform::reports
