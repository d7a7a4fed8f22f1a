#pragma once

#include <QString>
#include <QVariant>

// A value written as an SQL literal: NULL, a number as digits, text, dates
// and times as quoted strings ("mm/dd/yyyy" for dates). Text goes through
// the one quoting function.
namespace db {

QString sqlLiteral(const QVariant& value);

}  // namespace db
