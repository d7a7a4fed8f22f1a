#pragma once

#include <QVariant>

#include "platform/localstore/LocalColumn.h"

struct sqlite3_stmt;

// How a local table keeps each type of value in its file, and back: dates
// and times as ISO text, decimals as floating point.
namespace platform::localstore {

// Binds a value in the column's stored form. Returns SQLite's result code.
int bindValue(sqlite3_stmt* statement, int index, ColumnType type, const QVariant& value);

// The value of a result column read as the column's type.
QVariant columnValue(sqlite3_stmt* statement, int index, ColumnType type);

// The value of a result column that reads no table column (a count, a sum):
// integers as qint64, reals as double, text as QString.
QVariant computedValue(sqlite3_stmt* statement, int index);

}  // namespace platform::localstore
