#pragma once

#include <QDate>
#include <QString>

// Dates as this system writes them: statements use "mm/dd/yyyy", people type
// and read the short date format "dd/mm/yyyy".
namespace core {

// "mm/dd/yyyy", the form dates take inside statements.
QString sqlDate(const QDate& date);
// An apostrophe, sqlDate and an apostrophe.
QString sqlDateLiteral(const QDate& date);

// The short date format, day first.
QString shortDate(const QDate& date);
// Parses day/month/year as typed by a user: separators '/', '-' or '.',
// one- or two-digit day and month, two- or four-digit year (two digits mean
// 19xx from 50 on, 20xx below). An invalid date on anything else.
QDate parseShortDate(const QString& text);

}  // namespace core
