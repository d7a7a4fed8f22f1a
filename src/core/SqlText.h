#pragma once

#include <QString>
#include <QVariant>

// Statements are built as text; values and identifiers reach them only through
// the functions of this file, which all quote through sqlValue().
namespace core {

// The text of a value to paste between the apostrophes of an SQL string
// literal: every apostrophe doubled.
QString sqlValue(const QString& value);

// A string literal: the value between apostrophes, its own doubled.
QString sqlString(const QString& value);
// NULL for an empty value, else its string literal.
QString sqlStringOrNull(const QString& value);
// The string literal of a text typed by a user or read from a file, stored
// with each apostrophe replaced by the acute accent as other programs
// expect.
QString sqlAcuteString(const QString& value);

// A typed value as a literal: NULL, a number as digits, text, dates and
// times as string literals ("mm/dd/yyyy" for dates).
QString sqlLiteral(const QVariant& value);

// An identifier (table, column, generator) checked to be a plain SQL name:
// letters, digits, '_' and '$', starting with a letter. Throws
// std::invalid_argument otherwise, so a stored or typed name can never
// smuggle in statement text.
QString sqlIdentifier(const QString& name);
bool isSqlIdentifier(const QString& name);

// A name kept exactly as written, letter case and blanks included, as a
// delimited identifier: between double quotes, its own doubled. Throws
// std::invalid_argument for an empty name or one longer than 63 characters.
QString sqlQuotedIdentifier(const QString& name);

}  // namespace core
