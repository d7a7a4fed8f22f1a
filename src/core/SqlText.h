#pragma once

#include <QString>

// Statements are built as text; values and identifiers reach them only through
// these two functions.
namespace core {

// The text of a value to paste between the apostrophes of an SQL string
// literal: every apostrophe doubled.
QString sqlValue(const QString& value);

// An identifier (table, column, generator) checked to be a plain SQL name:
// letters, digits, '_' and '$', starting with a letter. Throws
// std::invalid_argument otherwise, so a stored or typed name can never
// smuggle in statement text.
QString sqlIdentifier(const QString& name);
bool isSqlIdentifier(const QString& name);

}  // namespace core
