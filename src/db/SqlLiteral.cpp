#include "db/SqlLiteral.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include "core/Dates.h"
#include "core/SqlText.h"

namespace db {

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
      return core::sqlDateLiteral(value.toDate());
    case QMetaType::QTime:
      return '\'' + value.toTime().toString(QStringLiteral("HH:mm:ss.zzz")) + '\'';
    case QMetaType::QDateTime: {
      const QDateTime stamp = value.toDateTime();
      return '\'' + core::sqlDate(stamp.date()) + ' ' +
             stamp.time().toString(QStringLiteral("HH:mm:ss.zzz")) + '\'';
    }
    default:
      return '\'' + core::sqlValue(value.toString()) + '\'';
  }
}

}  // namespace db
