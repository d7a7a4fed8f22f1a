#include "query/designer/ConditionEdits.h"

#include "core/SqlText.h"

namespace query::designer {

namespace {

// A bound or value as the condition writes it. Numbers go in as typed (the
// user may write an expression there); anything else is a string literal
// with its apostrophes doubled, so a typed O'NEIL stays one value. Dates stay
// day first, as the user reads them in the rows: the statement builder turns
// quoted dates month first.
QString literal(const QString& value, FieldClass kind) {
  if (kind == FieldClass::Numeric) return value;
  return core::sqlString(value);
}

// "(F>=a)AND(F<=b)", "(F>=a)" or "(F<=b)"; empty when neither bound is given.
QString bounds(const QString& field, const QString& from, const QString& to, FieldClass kind) {
  const QString lower =
      QLatin1Char('(') + field + QStringLiteral(">=") + literal(from, kind) + QLatin1Char(')');
  const QString upper =
      QLatin1Char('(') + field + QStringLiteral("<=") + literal(to, kind) + QLatin1Char(')');
  if (!from.isEmpty() && !to.isEmpty()) return lower + QStringLiteral("AND") + upper;
  if (!from.isEmpty()) return lower;
  if (!to.isEmpty()) return upper;
  return {};
}

}  // namespace

FieldClass fieldClass(db::FieldType type) {
  switch (type) {
    case db::FieldType::SmallInt:
    case db::FieldType::Integer:
    case db::FieldType::Word:
    case db::FieldType::Float:
      return FieldClass::Numeric;
    case db::FieldType::Date:
    case db::FieldType::Time:
    case db::FieldType::DateTime:
      return FieldClass::Date;
    default:
      return FieldClass::Text;
  }
}

bool asksForDate(db::FieldType type) {
  return type == db::FieldType::Date || type == db::FieldType::DateTime;
}

Parenthesis parenthesize(const QString& condition) {
  if (condition.isEmpty()) return {QStringLiteral("("), true};
  if (condition.startsWith(QLatin1Char('('))) return {condition + QLatin1Char(')'), false};
  return {QLatin1Char('(') + condition, true};
}

QString rangeCondition(const QString& field, db::FieldType type, const RangeEntries& entries,
                       const QString& current) {
  const FieldClass kind = fieldClass(type);
  QString condition = current;
  if (kind == FieldClass::Date) {
    const QString dates = bounds(field, entries.dateFrom, entries.dateTo, kind);
    if (!dates.isEmpty()) condition = dates;
  }
  const QString values = bounds(field, entries.valueFrom, entries.valueTo, kind);
  if (!values.isEmpty()) condition = values;
  return condition;
}

QString singleValueCondition(const QString& field, db::FieldType type, const QString& value) {
  return QLatin1Char('(') + field + QLatin1Char('=') + literal(value, fieldClass(type)) +
         QLatin1Char(')');
}

QString formulaCondition(const QString& formula, const QString& resultName) {
  QString condition = QStringLiteral("(CALC (") + formula + QLatin1Char(')');
  if (!resultName.isEmpty()) condition += QStringLiteral(" AS ") + resultName;
  return condition + QLatin1Char(')');
}

QString editedCondition(const QString& text) {
  QString condition = text;
  condition.remove(QLatin1Char('\r'));
  condition.remove(QLatin1Char('\n'));
  return condition;
}

QString groupSumCondition(const QString& field, const QString& resultName) {
  return QStringLiteral("(Calc (Sum(") + field + QStringLiteral(")) as ") + resultName +
         QLatin1Char(')');
}

}  // namespace query::designer
