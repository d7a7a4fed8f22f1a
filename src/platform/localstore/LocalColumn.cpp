#include "platform/localstore/LocalColumn.h"

#include <array>
#include <utility>

namespace platform::localstore {

namespace {

constexpr std::array<std::pair<ColumnType, const char*>, 12> kTypeNames{{
    {ColumnType::Text, "TEXT"},
    {ColumnType::SmallInt, "SMALLINT"},
    {ColumnType::Integer, "INTEGER"},
    {ColumnType::BigInt, "BIGINT"},
    {ColumnType::Float, "FLOAT"},
    {ColumnType::Bcd, "BCD"},
    {ColumnType::Date, "DATE"},
    {ColumnType::Time, "TIME"},
    {ColumnType::Timestamp, "TIMESTAMP"},
    {ColumnType::Memo, "MEMO"},
    {ColumnType::Blob, "BLOB"},
    {ColumnType::Boolean, "BOOLEAN"},
}};

}  // namespace

QString columnTypeName(ColumnType type) {
  for (const auto& [value, name] : kTypeNames)
    if (value == type) return QString::fromLatin1(name);
  return QStringLiteral("TEXT");
}

ColumnType columnTypeFromName(const QString& name) {
  for (const auto& [value, word] : kTypeNames)
    if (name.compare(QLatin1String(word), Qt::CaseInsensitive) == 0) return value;
  return ColumnType::Text;
}

}  // namespace platform::localstore
