#pragma once

#include <functional>
#include <vector>

#include "db/Query.h"

namespace db {

// A whole database table as a data source: "SELECT * FROM <table>", opened
// and read like any query, in the order of its index field names when they
// are set, and seen through a record filter when one is switched on.
class Table : public Query {
 public:
  Table(Database& database, Transaction& transaction, const QString& tableName = {});

  // Sets the table; the name must be a plain SQL identifier.
  void setTableName(const QString& tableName);
  const QString& tableName() const { return tableName_; }

  // Field names separated by ";" that order the rows (ascending); empty for
  // the table's natural order. An open table is reopened in the new order.
  // Every name must be a plain SQL identifier.
  void setIndexFieldNames(const QString& names);
  const QString& indexFieldNames() const { return indexFieldNames_; }

  // The field lists of the table's indexes in definition order, each list
  // its field names joined by ";". Runs in the table's transaction.
  QStringList indexDefinitions();

  // Client-side filter: while it is switched on, the grid-facing reads
  // (rowCount, value, fetchMore) see only the rows it accepts; the cursor
  // calls still walk every row. The predicate reads rows with rawValue.
  using RecordFilter = std::function<bool(const Table& table, int rawRow)>;
  void setRecordFilter(RecordFilter filter);
  void setFiltered(bool filtered);
  bool isFiltered() const { return filtered_; }
  QVariant rawValue(int rawRow, int column) const { return Query::value(rawRow, column); }

  // DataSet, through the filter.
  int rowCount() const override;
  int fetchMore(int count) override;
  QVariant value(int row, int column) const override;
  using Query::value;

 protected:
  void rowsDropped() override;

 private:
  void rebuildStatement();
  void refilter();
  // Looks at the rows fetched since the last look.
  void catchUp() const;

  QString tableName_;
  QString indexFieldNames_;
  RecordFilter filter_;
  bool filtered_ = false;
  mutable std::vector<int> visible_;
  mutable int scanned_ = 0;
};

}  // namespace db
