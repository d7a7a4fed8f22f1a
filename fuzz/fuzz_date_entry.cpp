// The text of the date entry box, shaped after a key and parsed as a typed
// date.
#include <QDate>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/Dates.h"
#include "ui/DateShaping.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString typed =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const ui::ShapedDate shaped = ui::shapeTypedDate(typed);
  // A selection lies inside the text.
  if (shaped.selectionStart < 0 || shaped.selectionLength < 0 ||
      shaped.selectionStart + shaped.selectionLength > shaped.text.size())
    std::abort();
  // A date parsed from the typed text prints back as a date that parses to
  // itself.
  const QDate date = core::parseShortDate(typed);
  if (date.isValid() && core::parseShortDate(core::shortDate(date)) != date) std::abort();
  return 0;
}
