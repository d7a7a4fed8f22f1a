#include "query/engine/LocalWorkTable.h"

#include <QDir>

#include "core/Paths.h"
#include "platform/localstore/LocalTableState.h"

namespace query::engine {

using platform::localstore::ColumnType;
using platform::localstore::LocalColumn;
using platform::localstore::LocalTable;

LocalColumn localColumn(const db::FieldInfo& field) {
  LocalColumn column{field.name, ColumnType::Text, 0, !field.nullable};
  switch (field.type) {
    case db::FieldType::String:
    case db::FieldType::FixedChar:
    case db::FieldType::WideString:
      column.size = field.size;
      break;
    case db::FieldType::SmallInt:
    case db::FieldType::Word:
      column.type = ColumnType::SmallInt;
      break;
    case db::FieldType::Integer:
    case db::FieldType::AutoInc:
      column.type = ColumnType::Integer;
      break;
    case db::FieldType::LargeInt:
      column.type = ColumnType::BigInt;
      break;
    case db::FieldType::Float:
      column.type = ColumnType::Float;
      break;
    case db::FieldType::Currency:
    case db::FieldType::Bcd:
      column.type = ColumnType::Bcd;
      column.size = field.scale;
      break;
    case db::FieldType::Date:
      column.type = ColumnType::Date;
      break;
    case db::FieldType::Time:
      column.type = ColumnType::Time;
      break;
    case db::FieldType::DateTime:
      column.type = ColumnType::Timestamp;
      break;
    case db::FieldType::Boolean:
      column.type = ColumnType::Boolean;
      break;
    case db::FieldType::Memo:
    case db::FieldType::FmtMemo:
      column.type = ColumnType::Memo;
      break;
    case db::FieldType::Blob:
    case db::FieldType::Graphic:
    case db::FieldType::Bytes:
    case db::FieldType::VarBytes:
    case db::FieldType::TypedBinary:
      column.type = ColumnType::Blob;
      break;
    default:
      break;
  }
  return column;
}

QString workDirectory(const QString& baseDirectory, const QString& folder) {
  if (baseDirectory.isEmpty() || baseDirectory.endsWith(u'\\')) return baseDirectory + folder;
  return baseDirectory + u'\\' + folder;
}

LocalWorkTable::LocalWorkTable(QString directory, QString usualName)
    : usualName_(usualName), table_(std::move(directory), std::move(usualName)) {}

LocalWorkTable::~LocalWorkTable() {
  release();
}

bool LocalWorkTable::create(const platform::localstore::LocalColumns& columns, QString* error) {
  namespace store = platform::localstore;
  release();
  table_.setName(usualName_);
  if (!QDir(core::nativePath(table_.directory())).exists() &&
      !store::createWorkDirectory(table_.directory())) {
    *error = QStringLiteral("impossibile creare la directory ") + table_.directory();
    return false;
  }
  table_.setColumns(columns);
  table_.setIndexFields({});
  if (!store::takeFreeTable(table_)) {
    *error = table_.lastError();
    return false;
  }
  return true;
}

bool LocalWorkTable::hold(QString* error) {
  // Shared without letting it go: nobody may take it in between.
  if (table_.isOpen() ? table_.share() : table_.open(LocalTable::Access::Shared)) return true;
  *error = table_.lastError();
  return false;
}

void LocalWorkTable::release() {
  table_.close();
  platform::localstore::dropAlternativeTable(table_, usualName_);
}

}  // namespace query::engine
