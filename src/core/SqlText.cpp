#include "core/SqlText.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <stdexcept>

#include "core/Cp1252.h"
#include "core/Dates.h"

namespace core {

QString sqlValue(const QString& value) {
  QString text = value;
  return text.replace(QStringLiteral("'"), QStringLiteral("''"));
}

QString sqlString(const QString& value) {
  return QLatin1Char('\'') + sqlValue(value) + QLatin1Char('\'');
}

QString sqlStringOrNull(const QString& value) {
  return value.isEmpty() ? QStringLiteral("NULL") : sqlString(value);
}

QString sqlAcuteString(const QString& value) {
  return sqlString(apostrophesToAcute(value));
}

QString sqlLiteral(const QVariant& value) {
  if (value.isNull()) return QStringLiteral("NULL");
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
      return value.toString();
    case QMetaType::Double:
    case QMetaType::Float:
      return QString::number(value.toDouble(), 'g', 17);
    case QMetaType::Bool:
      return value.toBool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case QMetaType::QDate:
      return sqlDateLiteral(value.toDate());
    case QMetaType::QTime:
      return sqlString(value.toTime().toString(QStringLiteral("HH:mm:ss.zzz")));
    case QMetaType::QDateTime: {
      const QDateTime stamp = value.toDateTime();
      return sqlString(sqlDate(stamp.date()) + ' ' +
                       stamp.time().toString(QStringLiteral("HH:mm:ss.zzz")));
    }
    default:
      return sqlString(value.toString());
  }
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

QString sqlQuotedIdentifier(const QString& name) {
  if (name.isEmpty() || name.size() > 63 || name.contains(QChar(0)))
    throw std::invalid_argument("invalid SQL name: " + name.toStdString());
  QString quoted = name;
  quoted.replace('"', QStringLiteral("\"\""));
  return '"' + quoted + '"';
}

}  // namespace core
