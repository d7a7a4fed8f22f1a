#include "Cell.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cmath>

#include "core/Dates.h"

namespace xendo {

namespace {

constexpr qint64 kExactIntegerLimit = qint64(1) << 53;
constexpr double kMillisecondsPerDay = 86400000.0;

// Serials count from 30 December 1899 (the 1900 system counts a 29 February
// 1900 that never was, so from 1 March 1900 on the days since then match).
const QDate& serialBase() {
  static const QDate base(1899, 12, 30);
  return base;
}
const QDate& firstSerialDate() {
  static const QDate first(1900, 3, 1);
  return first;
}

double timeFraction(const QTime& time) {
  return static_cast<double>(time.msecsSinceStartOfDay()) / kMillisecondsPerDay;
}

Cell number(double value) {
  if (!std::isfinite(value)) return {Cell::Kind::Text, 0, QString::number(value)};
  return {Cell::Kind::Number, value, {}};
}

Cell dated(Cell::Kind kind, const QDate& date, const QTime& time, const QString& asText) {
  if (!date.isValid() || date < firstSerialDate()) return {Cell::Kind::Text, 0, asText};
  return {kind, static_cast<double>(serialBase().daysTo(date)) + timeFraction(time), {}};
}

}  // namespace

Cell cellFor(const QVariant& value, const db::FieldInfo& field) {
  if (value.isNull()) return {};
  switch (value.typeId()) {
    case QMetaType::LongLong: {
      const qint64 integer = value.toLongLong();
      if (integer > kExactIntegerLimit || integer < -kExactIntegerLimit)
        return {Cell::Kind::Text, 0, QString::number(integer)};
      return {Cell::Kind::Number, static_cast<double>(integer), {}};
    }
    case QMetaType::Double:
      return number(value.toDouble());
    case QMetaType::Bool:
      return {Cell::Kind::Boolean, value.toBool() ? 1.0 : 0.0, {}};
    case QMetaType::QDate: {
      const QDate date = value.toDate();
      return dated(Cell::Kind::Date, date, QTime(0, 0), core::shortDate(date));
    }
    case QMetaType::QDateTime: {
      const QDateTime stamp = value.toDateTime();
      return dated(
          Cell::Kind::DateTime, stamp.date(), stamp.time(),
          core::shortDate(stamp.date()) + ' ' + stamp.time().toString(QStringLiteral("HH:mm:ss")));
    }
    case QMetaType::QTime:
      return {Cell::Kind::Time, timeFraction(value.toTime()), {}};
    case QMetaType::QByteArray:
      // Octet strings as hexadecimal digits; binary blobs only as a mark.
      if (field.type == db::FieldType::Bytes)
        return {Cell::Kind::Text, 0, QString::fromLatin1(value.toByteArray().toHex().toUpper())};
      return {Cell::Kind::Text, 0, QStringLiteral("(BLOB)")};
    default:
      return {Cell::Kind::Text, 0, value.toString()};
  }
}

}  // namespace xendo
