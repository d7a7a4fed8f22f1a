#include "query/engine/DigitGrouping.h"

#include "db/Query.h"

namespace query::engine {

namespace {

// The locale with its thousands separator switched on: the C locale leaves
// it out unless asked.
QLocale withGroupSeparator(QLocale locale) {
  locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
  return locale;
}

}  // namespace

bool groupsDigits(db::FieldType type) {
  return type == db::FieldType::Float || type == db::FieldType::Bcd;
}

QString groupedNumber(double value, int decimals, const QLocale& locale) {
  if (value == 0.0) return {};
  return withGroupSeparator(locale).toString(value, 'f', decimals);
}

QString groupedCellText(const QVariant& value, db::FieldType type, int grouping,
                        const QLocale& locale) {
  if (value.isNull() || !groupsDigits(type) || (grouping != 1 && grouping != 2))
    return db::displayText(value);
  return groupedNumber(value.toDouble(), grouping == 1 ? 2 : 0, locale);
}

QString recordCountText(qint64 count, const QLocale& locale) {
  return QStringLiteral("Numero record presenti: ") + withGroupSeparator(locale).toString(count);
}

}  // namespace query::engine
