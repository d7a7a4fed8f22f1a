#include "platform/crystal/Formula.h"

namespace platform::crystal {

std::optional<QString> formulaValue(const QString& formula) {
  QString value;
  qsizetype i = 0;
  const qsizetype n = formula.size();
  const auto skipBlanks = [&] {
    while (i < n && formula.at(i).isSpace()) ++i;
  };
  for (bool first = true;; first = false) {
    skipBlanks();
    if (!first) {
      if (i == n) return value;
      if (formula.at(i) != QLatin1Char('+')) return std::nullopt;
      ++i;
      skipBlanks();
    }
    if (i == n) return std::nullopt;
    const QChar quote = formula.at(i);
    if (quote != QLatin1Char('\'') && quote != QLatin1Char('"')) return std::nullopt;
    for (++i;; ++i) {
      if (i == n) return std::nullopt;  // not closed
      if (formula.at(i) != quote) {
        value += formula.at(i);
      } else if (i + 1 < n && formula.at(i + 1) == quote) {
        value += quote;
        ++i;
      } else {
        ++i;
        break;
      }
    }
  }
}

QString formulaConstant(const QString& text) {
  return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) +
         QLatin1Char('\'');
}

}  // namespace platform::crystal
