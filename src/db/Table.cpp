#include "db/Table.h"

#include "core/SqlText.h"

namespace db {

Table::Table(Database& database, Transaction& transaction, const QString& tableName)
    : Query(database, transaction) {
  if (!tableName.isEmpty()) setTableName(tableName);
}

void Table::setTableName(const QString& tableName) {
  close();
  tableName_ = core::sqlIdentifier(tableName);
  sql = QStringList{QStringLiteral("SELECT * FROM ") + tableName_};
}

}  // namespace db
