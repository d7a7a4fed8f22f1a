#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>

#include "platform/localstore/LocalTable.h"

namespace db {
class Database;
class PreparedStatement;
class Transaction;
}  // namespace db

namespace query::engine {

// The Firebird type that holds a local column's values.
QString databaseColumnType(const platform::localstore::LocalColumn& column);

// A copy of a local work table in the designer's database, through which the
// answer presents the local table's rows: the same columns in the same order
// and a hidden ordinal that keeps the local table's order. Everything that
// reads the answer's statement (the result view, sort keys, sums, exports
// re-running it, other connections) then reads the local table's rows.
//
// The table is a work table of db::worktables, named per user and
// connection (TMP_RISP_USER<user>_<connection>_<n>), marked with the
// connection that made it; one left behind by a program that ended without
// dropping it is dropped by the next copy the same user makes. The rows are
// appended while the local table is written, so that the copy costs no
// second reading; a copy that fails on the way is dropped.
class AnswerWorkTable {
 public:
  // The hidden column holding each row's place in the local table.
  static inline const QString kOrdinal = QStringLiteral("NUMERO$RIGA");

  AnswerWorkTable(db::Database& database, db::Transaction& transaction, int user);
  ~AnswerWorkTable();
  AnswerWorkTable(const AnswerWorkTable&) = delete;
  AnswerWorkTable& operator=(const AnswerWorkTable&) = delete;

  static QString namePrefix(int user);
  const QString& name() const { return name_; }

  // Creates the table with the local table's columns, ready for its rows in
  // the given transaction. Throws db::DbError.
  void create(const platform::localstore::LocalColumns& columns);
  // Appends one row after the ones before it. Throws db::DbError.
  void append(const QVariantList& values);
  // Commits (retaining) the rows appended. Throws db::DbError.
  void finish();

  // The answer's statement over the copy: the local columns by name, in
  // order, sorted by the ordinal. Its last line holds the ORDER BY.
  QStringList statement() const;
  // The sort lines that keep the local table's order.
  QStringList orderLines() const;

  // Drops the table. No statement may use it any more. Never throws: a
  // table that cannot be dropped now is left for a later clean-up.
  void drop();

 private:
  QString freeName();
  // Drops the table after a failure and throws it on.
  [[noreturn]] void dropAndRethrow();

  db::Database& database_;
  db::Transaction& transaction_;
  int user_;
  QString name_;
  QStringList columns_;
  std::unique_ptr<db::PreparedStatement> insert_;
  QVariantList row_;
  int rowCount_ = 0;
};

}  // namespace query::engine
