#pragma once

#include <QHash>
#include <QString>

#include "db/FieldType.h"

namespace db {
class Database;
class Transaction;
}  // namespace db

namespace query::engine {

// The data types of the fields of database tables, learnt once per table
// by describing "SELECT * FROM" the table (nothing is fetched). A name that
// is not a plain identifier, or a table the database does not have, has no
// fields: every lookup gives Unknown.
class TableFieldTypes {
 public:
  TableFieldTypes(db::Database& database, db::Transaction& transaction);

  db::FieldType type(const QString& table, const QString& field);
  // The fields of a table in definition order.
  QStringList fieldNames(const QString& table);

 private:
  struct Fields {
    QStringList names;
    QHash<QString, db::FieldType> types;  // by upper-case name
  };
  const Fields& fieldsOf(const QString& table);

  db::Database& database_;
  db::Transaction& transaction_;
  QHash<QString, Fields> tables_;  // by upper-case name
};

}  // namespace query::engine
