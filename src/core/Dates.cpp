#include "core/Dates.h"

#include <QRegularExpression>

namespace core {

QString sqlDate(const QDate& date) {
  return date.toString(QStringLiteral("MM/dd/yyyy"));
}

QString sqlDateLiteral(const QDate& date) {
  return QLatin1Char('\'') + sqlDate(date) + '\'';
}

QString shortDate(const QDate& date) {
  return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QDate parseShortDate(const QString& text) {
  static const QRegularExpression pattern(
      QStringLiteral(R"(^\s*(\d{1,2})[/.\-](\d{1,2})[/.\-](\d{2}|\d{4})\s*$)"));
  const auto match = pattern.match(text);
  if (!match.hasMatch()) return {};
  int year = match.captured(3).toInt();
  if (match.captured(3).size() == 2) year += year >= 50 ? 1900 : 2000;
  return QDate(year, match.captured(2).toInt(), match.captured(1).toInt());
}

}  // namespace core
