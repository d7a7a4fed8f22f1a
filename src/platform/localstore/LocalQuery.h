#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

#include "platform/localstore/LocalColumn.h"

struct sqlite3;
struct sqlite3_stmt;

namespace platform::localstore {

// A selecting statement over the rows of one local table, run by a read-only
// connection of its own, so that it reads a table another object holds (the
// rows an answer presents, sorted, counted or walked again). The statement
// names the rows `kRows` and each column by its name in the table; values
// come back in the types of the table's columns.
class LocalQuery {
 public:
  static inline const QString kRows = QStringLiteral("righe");

  // `columns`: the table's columns, as it was created with them.
  LocalQuery(QString nativeFile, LocalColumns columns);
  ~LocalQuery();
  LocalQuery(const LocalQuery&) = delete;
  LocalQuery& operator=(const LocalQuery&) = delete;

  // Prepares the statement; false with the reason in error().
  bool open(const QString& statement);
  int columnCount() const { return static_cast<int>(tableColumns_.size()); }
  // The table column a result column reads; -1 for a computed one.
  int tableColumn(int resultColumn) const { return tableColumns_.at(resultColumn); }
  QString columnName(int resultColumn) const;
  // Reads the next row into `row`; false after the last, or on a failure,
  // which leaves its reason in error().
  bool next(std::vector<QVariant>& row);
  const QString& error() const { return error_; }

 private:
  bool fail(const QString& what);
  void finish();

  QString nativeFile_;
  LocalColumns columns_;
  sqlite3* db_ = nullptr;
  sqlite3_stmt* statement_ = nullptr;
  std::vector<int> tableColumns_;
  QString error_;
};

}  // namespace platform::localstore
