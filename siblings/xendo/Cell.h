#pragma once

#include <QString>
#include <QVariant>

#include "db/FieldType.h"

// One value of the answer as a spreadsheet cell, whatever the file format.
namespace xendo {

struct Cell {
  enum class Kind { Empty, Number, Date, DateTime, Time, Boolean, Text };
  Kind kind = Kind::Empty;
  // Numbers, booleans (0 or 1) and the serial of dates and times: days since
  // 30 December 1899, the time of day as the fraction.
  double number = 0;
  QString text;
};

// The most characters a spreadsheet cell holds.
inline constexpr qsizetype kMaxCellText = 32767;

// The cell for a value the database layer read for a field of that type.
// Integers beyond 2^53, which a spreadsheet number would change, dates before
// 1 March 1900, which the 1900 date system cannot show, and numbers that are
// not finite become text.
Cell cellFor(const QVariant& value, const db::FieldInfo& field);

}  // namespace xendo
