#pragma once

#include <QString>

#include "db/FieldType.h"

// The edits the designer's keys and commands make to the condition of one
// row. Pure text in, text out: the designer shows the dialogs and stores the
// result in the row.
namespace query::designer {

// How a field's values are written in a condition: numbers bare, dates and
// everything else between apostrophes.
enum class FieldClass { Numeric, Date, Text };

// Small integer, integer, word and float are numeric; date, time and
// date-time are dates; every other type is text.
FieldClass fieldClass(db::FieldType type);

// Date and date-time fields are asked for with date boxes, every other field
// (time included) with plain value boxes.
bool asksForDate(db::FieldType type);

// The parenthesis key: an empty condition becomes "(", a condition that
// starts with "(" gets ")" appended, any other gets "(" put in front. The
// cell is edited afterwards unless a parenthesis was closed.
struct Parenthesis {
  QString condition;
  bool edit = false;
};
Parenthesis parenthesize(const QString& condition);

// What the range dialog gave back: the two date boxes and the two value
// boxes, each possibly empty.
struct RangeEntries {
  QString dateFrom;
  QString dateTo;
  QString valueFrom;
  QString valueTo;
};

// The condition for the range of `field`: from the dates (date fields
// only), then from the values, the values replacing the dates when both are
// there. Both bounds give "(F>=a)AND(F<=b)", one gives its half; dates and
// text between apostrophes. `current` is kept when no entry was filled.
QString rangeCondition(const QString& field, db::FieldType type, const RangeEntries& entries,
                       const QString& current);

// The condition for one value: "(F=v)" for numbers, "(F='v')" otherwise.
QString singleValueCondition(const QString& field, db::FieldType type, const QString& value);

// "(CALC (" formula ")" [" AS " name] ")".
QString formulaCondition(const QString& formula, const QString& resultName);

// The text of the condition editor as it is stored: on one line, every
// carriage return and line feed removed.
QString editedCondition(const QString& text);

// The sum of `field` over the current grouping, named `resultName`.
QString groupSumCondition(const QString& field, const QString& resultName);

}  // namespace query::designer
