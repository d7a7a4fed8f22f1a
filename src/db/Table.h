#pragma once

#include "db/Query.h"

namespace db {

// A whole database table as a data source: "SELECT * FROM <table>", opened
// and read like any query.
class Table : public Query {
 public:
  Table(Database& database, Transaction& transaction, const QString& tableName = {});

  // Sets the table; the name must be a plain SQL identifier.
  void setTableName(const QString& tableName);
  const QString& tableName() const { return tableName_; }

 private:
  QString tableName_;
};

}  // namespace db
