#include "core/SqlText.h"

#include <stdexcept>

namespace core {

QString sqlValue(const QString& value) {
  QString text = value;
  return text.replace(QStringLiteral("'"), QStringLiteral("''"));
}

bool isSqlIdentifier(const QString& name) {
  if (name.isEmpty() || name.size() > 63) return false;
  if (!name.front().isLetter() || name.front().unicode() > 0x7F) return false;
  for (const QChar c : name) {
    const bool ascii = c.unicode() < 0x80;
    if (!ascii || !(c.isLetterOrNumber() || c == '_' || c == '$')) return false;
  }
  return true;
}

QString sqlIdentifier(const QString& name) {
  if (!isSqlIdentifier(name))
    throw std::invalid_argument("invalid SQL identifier: " + name.toStdString());
  return name;
}

}  // namespace core
