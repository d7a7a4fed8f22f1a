#pragma once

#include <QList>
#include <QString>

namespace platform::localstore {

// The value types a local table column can hold. They cover what the work
// tables copy from a database answer (every Firebird type) and what the
// callers add (small integers, floating point, fixed-width text).
enum class ColumnType {
  Text,  // size = maximum characters (0: unlimited)
  SmallInt,
  Integer,
  BigInt,
  Float,
  Bcd,  // size = decimal places; kept as floating point
  Date,
  Time,
  Timestamp,
  Memo,
  Blob,
  Boolean,
};

struct LocalColumn {
  QString name;
  ColumnType type = ColumnType::Text;
  int size = 0;
  bool required = false;

  bool operator==(const LocalColumn&) const = default;
};

using LocalColumns = QList<LocalColumn>;

// The stored name of a type and back (the table's own description of its
// columns uses these words). An unknown word reads as Text.
QString columnTypeName(ColumnType type);
ColumnType columnTypeFromName(const QString& name);

}  // namespace platform::localstore
