#include "platform/localstore/LocalValues.h"

#include <sqlite3.h>

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cmath>
#include <limits>

namespace platform::localstore {

// Binds a value in the column's stored form: dates and times as ISO text.
int bindValue(sqlite3_stmt* statement, int index, ColumnType type, const QVariant& value) {
  if (!value.isValid() || value.isNull()) return sqlite3_bind_null(statement, index);
  switch (type) {
    case ColumnType::SmallInt:
    case ColumnType::Integer:
    case ColumnType::BigInt:
    case ColumnType::Boolean: {
      bool ok = false;
      if (value.typeId() != QMetaType::Double && value.typeId() != QMetaType::Float) {
        const qint64 number = value.toLongLong(&ok);
        if (ok) return sqlite3_bind_int64(statement, index, number);
      }
      // A fractional number is rounded, as the column's type asks; one
      // beyond 64 bits is kept as it is rather than wrapped round.
      const double real = value.toDouble(&ok);
      if (!ok || std::isnan(real)) return sqlite3_bind_null(statement, index);
      if (std::fabs(real) < 9.2e18) return sqlite3_bind_int64(statement, index, std::llround(real));
      return sqlite3_bind_double(statement, index, real);
    }
    case ColumnType::Float:
    case ColumnType::Bcd: {
      bool ok = false;
      const double number = value.toDouble(&ok);
      return ok ? sqlite3_bind_double(statement, index, number)
                : sqlite3_bind_null(statement, index);
    }
    case ColumnType::Date:
      return sqlite3_bind_text(statement, index,
                               value.toDate().toString(Qt::ISODate).toUtf8().constData(), -1,
                               SQLITE_TRANSIENT);
    case ColumnType::Time:
      return sqlite3_bind_text(statement, index,
                               value.toTime().toString(Qt::ISODateWithMs).toUtf8().constData(), -1,
                               SQLITE_TRANSIENT);
    case ColumnType::Timestamp:
      return sqlite3_bind_text(statement, index,
                               value.toDateTime().toString(Qt::ISODateWithMs).toUtf8().constData(),
                               -1, SQLITE_TRANSIENT);
    case ColumnType::Blob: {
      const QByteArray bytes = value.toByteArray();
      return sqlite3_bind_blob(statement, index, bytes.constData(), int(bytes.size()),
                               SQLITE_TRANSIENT);
    }
    default: {
      // Text the value holds is bound where it lies; SQLite reads it before
      // the value can change.
      if (value.typeId() == QMetaType::QString) {
        const auto* text = static_cast<const QString*>(value.constData());
        return sqlite3_bind_text16(statement, index, text->utf16(),
                                   static_cast<int>(text->size() * 2), SQLITE_STATIC);
      }
      const QString text = value.toString();
      return sqlite3_bind_text16(statement, index, text.utf16(), static_cast<int>(text.size() * 2),
                                 SQLITE_TRANSIENT);
    }
  }
}

QVariant columnValue(sqlite3_stmt* statement, int index, ColumnType type) {
  if (sqlite3_column_type(statement, index) == SQLITE_NULL) return {};
  const auto text = [&] {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, index)),
                             sqlite3_column_bytes(statement, index));
  };
  // A number too large for an integer column was stored as it came.
  const bool integerType = type == ColumnType::SmallInt || type == ColumnType::Integer ||
                           type == ColumnType::BigInt || type == ColumnType::Boolean;
  if (integerType && sqlite3_column_type(statement, index) == SQLITE_FLOAT)
    return QVariant(sqlite3_column_double(statement, index));
  switch (type) {
    case ColumnType::SmallInt:
    case ColumnType::Integer: {
      const qint64 number = sqlite3_column_int64(statement, index);
      if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return QVariant(number);
      return QVariant(static_cast<int>(number));
    }
    case ColumnType::BigInt:
      return QVariant(static_cast<qint64>(sqlite3_column_int64(statement, index)));
    case ColumnType::Boolean:
      return QVariant(sqlite3_column_int64(statement, index) != 0);
    case ColumnType::Float:
    case ColumnType::Bcd:
      return QVariant(sqlite3_column_double(statement, index));
    case ColumnType::Date:
      return QVariant(QDate::fromString(text(), Qt::ISODate));
    case ColumnType::Time:
      return QVariant(QTime::fromString(text(), Qt::ISODateWithMs));
    case ColumnType::Timestamp:
      return QVariant(QDateTime::fromString(text(), Qt::ISODateWithMs));
    case ColumnType::Blob:
      return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(statement, index)),
                                 sqlite3_column_bytes(statement, index)));
    default:
      return QVariant(text());
  }
}

QVariant computedValue(sqlite3_stmt* statement, int index) {
  switch (sqlite3_column_type(statement, index)) {
    case SQLITE_NULL:
      return {};
    case SQLITE_INTEGER:
      return QVariant(static_cast<qint64>(sqlite3_column_int64(statement, index)));
    case SQLITE_FLOAT:
      return QVariant(sqlite3_column_double(statement, index));
    case SQLITE_BLOB:
      return columnValue(statement, index, ColumnType::Blob);
    default:
      return columnValue(statement, index, ColumnType::Text);
  }
}

}  // namespace platform::localstore
