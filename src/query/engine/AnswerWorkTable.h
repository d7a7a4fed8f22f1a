#pragma once

#include <QString>
#include <QStringList>

#include "platform/localstore/LocalTable.h"

namespace db {
class Database;
class Query;
class Transaction;
}  // namespace db

namespace query::engine {

// The Firebird type that holds a local column's values.
QString databaseColumnType(const platform::localstore::LocalColumn& column);

// A copy, in the database, of the rows a local answer presents, for a
// reader that reads the database on a connection of its own (the spreadsheet
// library) or with the database's own statements (the export to a new
// table). Made when that reader asks, in transactions of its own, and
// dropped when it is done: the same columns in the same order, and a hidden
// ordinal that keeps the answer's order.
//
// The table is a work table of db::worktables, named per user and
// connection (TMP_RISP_USER<user>_<connection>_<n>), marked with the
// connection that made it; one left behind by a program that ended without
// dropping it is dropped by the next copy the same user makes.
class AnswerWorkTable {
 public:
  // The hidden column holding each row's place in the answer.
  static inline const QString kOrdinal = QStringLiteral("NUMERO$RIGA");

  AnswerWorkTable(db::Database& database, int user);
  ~AnswerWorkTable();
  AnswerWorkTable(const AnswerWorkTable&) = delete;
  AnswerWorkTable& operator=(const AnswerWorkTable&) = delete;

  static QString namePrefix(int user);
  const QString& name() const { return name_; }

  // Copies the rows of the answer, which presents a local table, in its
  // current order (its sort keys included) into a new table, committed.
  // Throws db::DbError; a copy that fails on the way is dropped.
  void copy(db::Query& answer);

  // The statement over the copy: the columns by name, in order, sorted by
  // the ordinal. Its last line holds the ORDER BY.
  QStringList statement() const;

  // Drops the table. No statement may use it any more. Never throws: a
  // table that cannot be dropped now is left for a later clean-up.
  void drop();

 private:
  QString freeName(db::Transaction& transaction);
  void create(const platform::localstore::LocalColumns& columns);
  void fill(db::Query& answer);

  db::Database& database_;
  int user_;
  int nextNumber_ = 1;  // the counter the next copy's name starts from
  QString name_;
  QStringList columns_;
};

}  // namespace query::engine
