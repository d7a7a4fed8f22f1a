#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

#include "db/FieldType.h"

// What the query printing prints: the answer, or the single-record view's
// rows, field by field and record by record.
namespace query::engine {

struct PrintField {
  QString name;
  QString label;  // display label
  db::FieldType type = db::FieldType::Unknown;
  int scale = 0;         // decimals of an exact numeric
  int displayWidth = 0;  // characters
  bool visible = true;
  int grouping = 0;     // the column's digit grouping
  bool totals = false;  // the column's code asks for a total
};

struct PrintSource {
  QList<PrintField> fields;  // in field order
  QList<int> gridColumns;    // the result grid's columns in display order (field indexes)
  bool singleRecord = false;
  // Reads every record and returns how many there are.
  std::function<int()> count;
  // A record's value and its text as the grid shows it.
  std::function<QVariant(int row, int field)> value;
  std::function<QString(int row, int field)> text;

  // A visible field that takes part in totals: marked and of a type that adds up.
  bool takesPartInTotals(int field) const;
  // Whether any visible field is marked for totals.
  bool markedForTotals() const;
};

}  // namespace query::engine
