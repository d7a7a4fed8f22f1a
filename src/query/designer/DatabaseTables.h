#pragma once

#include <QStringList>
#include <optional>

namespace db {
class Database;
class Transaction;
}  // namespace db

namespace query::designer {

// The names of the database's own tables (no views, no system tables, no
// work tables of this program), sorted.
QStringList userTables(db::Database& database, db::Transaction& transaction);

// The fields of `table` in definition order. A table the database does not
// have gives nullopt after the database's refusal was shown as an error.
std::optional<QStringList> tableFields(db::Database& database, db::Transaction& transaction,
                                       const QString& table);

}  // namespace query::designer
