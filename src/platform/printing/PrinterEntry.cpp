#include "platform/printing/PrinterEntry.h"

namespace platform::printing {

namespace {

constexpr qsizetype kMaxNameLength = 255;

}  // namespace

QString PrinterEntry::text() const {
  return name.left(kMaxNameLength) + ',' + driver + ',' + port;
}

PrinterEntry PrinterEntry::parse(const QString& entry) {
  PrinterEntry parsed;
  const qsizetype firstComma = entry.indexOf(',');
  if (firstComma < 0) {
    parsed.name = entry;
    return parsed;
  }
  parsed.name = entry.left(firstComma);
  const qsizetype secondComma = entry.indexOf(',', firstComma + 1);
  if (secondComma < 0) {
    parsed.driver = entry.mid(firstComma + 1);
    return parsed;
  }
  parsed.driver = entry.mid(firstComma + 1, secondComma - firstComma - 1);
  parsed.port = entry.mid(secondComma + 1);
  return parsed;
}

QString driverFromMakeAndModel(const QString& makeAndModel) {
  qsizetype end = makeAndModel.size();
  for (const QChar stop : {QChar('.'), QChar(',')}) {
    const qsizetype at = makeAndModel.indexOf(stop);
    if (at >= 0 && at < end) end = at;
  }
  return makeAndModel.left(end);
}

}  // namespace platform::printing
