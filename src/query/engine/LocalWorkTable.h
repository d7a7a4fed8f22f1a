#pragma once

#include <QString>

#include "db/FieldType.h"
#include "platform/localstore/LocalTable.h"

namespace query::engine {

// The local column that holds an answer column: the same name, data type,
// size and required flag.
platform::localstore::LocalColumn localColumn(const db::FieldInfo& field);

// "base\QUERY\RISPTMP\SUMPROG": the base directory, a backslash when it has
// none at its end, then the work folder.
QString workDirectory(const QString& baseDirectory, const QString& folder);

// One local work table of the procedural functions (SUMPROG.DB, INTERO.DB),
// taken afresh for every run and held while the answer shows it.
class LocalWorkTable {
 public:
  LocalWorkTable(QString directory, QString usualName);
  ~LocalWorkTable();
  LocalWorkTable(const LocalWorkTable&) = delete;
  LocalWorkTable& operator=(const LocalWorkTable&) = delete;

  // Takes the table and creates it with the columns: a table nobody holds is
  // deleted first; one another user holds is left alone and the next free
  // name taken instead (SUMPROG.DB, SUMPR01.DB, SUMPR02.DB...); a missing
  // directory is created. The table is left open exclusively, empty. False
  // with the reason in `error`.
  bool create(const platform::localstore::LocalColumns& columns, QString* error);

  platform::localstore::LocalTable& table() { return table_; }

  // Keeps the table open, shared, while the answer shows its rows: others
  // may read it, nobody may take it.
  bool hold(QString* error);
  // Closes it; a table taken under another name than the usual one is
  // deleted, so that it does not stay behind.
  void release();

 private:
  QString usualName_;
  platform::localstore::LocalTable table_;
};

}  // namespace query::engine
