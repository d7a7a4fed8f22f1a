#include "ui/DateShaping.h"

namespace ui {

namespace {

bool isAsciiDigit(QChar c) {
  return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The number made of the digits in `part`, other characters skipped; 0 when
// there is no digit.
int digitsValue(QStringView part) {
  int value = 0;
  for (QChar c : part)
    if (isAsciiDigit(c)) value = value * 10 + (c.unicode() - '0');
  return value;
}

QString twoDigits(int value) {
  return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

ShapedDate fault(const QString& typed, int from) {
  return {typed, from, static_cast<int>(typed.size()) - from};
}

}  // namespace

ShapedDate shapeTypedDate(const QString& typed) {
  switch (typed.size()) {
    case 2: {
      const int day = digitsValue(QStringView(typed).left(2));
      if (day < 1 || day > 31) return fault(typed, 0);
      return {twoDigits(day) + QLatin1Char('/')};
    }
    case 5: {
      // The month and the slash after it, as far as typed.
      const int month = digitsValue(QStringView(typed).mid(3, 2));
      if (month < 1 || month > 12) return fault(typed, 3);
      return {typed.left(3) + twoDigits(month) + QLatin1Char('/')};
    }
    case 8: {
      // Both characters must be digits: a sign or a blank is not a year.
      if (!isAsciiDigit(typed.at(6)) || !isAsciiDigit(typed.at(7))) return fault(typed, 6);
      const int year = digitsValue(QStringView(typed).mid(6, 2));
      if (year == 19 || year == 20) return {typed};
      return {typed.left(6) + QString::number(year >= 50 ? 1900 + year : 2000 + year)};
    }
    default:
      return {typed};
  }
}

}  // namespace ui
