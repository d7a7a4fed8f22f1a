#include "query/engine/TableFieldTypes.h"

#include "core/SqlText.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace query::engine {

TableFieldTypes::TableFieldTypes(db::Database& database, db::Transaction& transaction)
    : database_(database), transaction_(transaction) {}

const TableFieldTypes::Fields& TableFieldTypes::fieldsOf(const QString& table) {
  const QString key = table.toUpper();
  const auto known = tables_.constFind(key);
  if (known != tables_.constEnd()) return *known;
  Fields fields;
  if (core::isSqlIdentifier(table)) {
    try {
      transaction_.ensureStarted();
      db::Query describe(database_, transaction_);
      describe.sql << QStringLiteral("SELECT * FROM \"%1\"").arg(table);
      describe.describe();
      for (int i = 0; i < describe.fieldCount(); ++i) {
        const db::FieldInfo& field = describe.field(i);
        fields.names << field.name;
        fields.types.insert(field.name.toUpper(), field.type);
      }
    } catch (const db::DbError&) {
      // No such table: its fields are unknown, and the statement that names
      // it fails with the database's own reason when it runs.
    }
  }
  return *tables_.insert(key, fields);
}

db::FieldType TableFieldTypes::type(const QString& table, const QString& field) {
  return fieldsOf(table).types.value(field.toUpper(), db::FieldType::Unknown);
}

QStringList TableFieldTypes::fieldNames(const QString& table) {
  return fieldsOf(table).names;
}

}  // namespace query::engine
