#pragma once

#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

#include "db/DataSet.h"
#include "db/DbError.h"
#include "db/MessageColumns.h"
#include "db/RowSource.h"

namespace Firebird {
class IStatement;
class IResultSet;
class IMessageMetadata;
}  // namespace Firebird

namespace db {

class Database;
class Transaction;

// A statement built as text, one line at a time, run in a transaction.
//
// A selecting statement is opened and walked with the cursor calls
// (isEof / next / value) or read by position through DataSet. A buffered
// query keeps every row it fetched, so the grid can scroll back; a
// forward-only query keeps only the current row. Rows arrive on demand:
// open() fetches the first, fetchMore() and next() the rest.
class Query : public DataSet {
 public:
  Query(Database& database, Transaction& transaction);
  ~Query() override;
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  // The statement, one entry per line, as it will run.
  QStringList sql;
  // The statement text as sent: the lines joined by line feeds.
  QString statementText() const { return sql.join('\n'); }

  void setForwardOnly(bool forwardOnly) { forwardOnly_ = forwardOnly; }
  bool isForwardOnly() const { return forwardOnly_; }
  Transaction& transaction() const { return *transaction_; }
  Database& database() const { return *database_; }

  // Where the statement runs instead of the database (nullptr: the
  // database). Set while the query is closed.
  void setRowSource(std::shared_ptr<RowSource> source) { rowSource_ = std::move(source); }
  const std::shared_ptr<RowSource>& rowSource() const { return rowSource_; }

  // Prepares and opens a selecting statement, starting the transaction when
  // needed; the first row (if any) becomes current. Throws DbError.
  void open();
  // Runs a statement that returns no rows (or one row, read through the
  // cursor calls, for EXECUTE PROCEDURE / RETURNING). Throws DbError.
  void execSql();
  // Prepares the statement and learns its fields without running it, so
  // that field() describes the answer. Throws DbError.
  void describe();
  // Closes the cursor and forgets the rows; an open query runs its
  // before-close hook first. Never throws, save what that hook throws.
  void close();
  // Closes and lets the prepared statement go, so that a table it reads can
  // be dropped (the database refuses while a statement uses it).
  void freeStatement();
  int rowsAffected() const { return rowsAffected_; }

  // Cursor over the rows.
  bool isEof() const { return eof_; }
  bool isEmpty() const { return rows_.empty(); }
  void next();
  void first();  // buffered queries only
  int currentRow() const { return current_; }
  // Value of a column of the current row; throws DbError for an unknown name.
  QVariant value(const QString& column) const;
  // The value as text: empty for null, dates in the short date format.
  QString text(const QString& column) const;
  // Fetches every remaining row and returns how many rows there are.
  int recordCount();
  // Moves the values of the current row out of a forward-only query, which
  // is about to step on: a copy of every row that costs nothing.
  std::vector<QVariant> takeCurrentRow();

  // DataSet
  bool isActive() const override { return active_; }
  int fieldCount() const override { return static_cast<int>(fields_.size()); }
  const FieldInfo& field(int index) const override { return fields_.at(index); }
  int rowCount() const override { return fetchedRows(); }
  bool canFetchMore() const override { return cursor_ != nullptr || sourceCursor_ != nullptr; }
  int fetchMore(int count) override;
  QVariant value(int row, int column) const override;

 protected:
  // Called whenever the rows are dropped (close, reopen).
  virtual void rowsDropped() {}
  // For sources that change their fetched rows in place.
  std::vector<std::vector<QVariant>>& mutableRows() { return rows_; }
  void setCurrentRow(int row) {
    current_ = row;
    eof_ = row < 0 || row >= static_cast<int>(rows_.size());
  }

 private:
  friend class Transaction;
  int fetchedRows() const { return static_cast<int>(rows_.size()); }
  // Closes without the before-close hook and the closing notice: when the
  // transaction goes away with its connection, or the query itself goes.
  void closeQuietly();
  void prepare();
  void openPrepared();
  void openFromSource();
  // Fetches the first row of the opened cursor and makes the query active.
  void fetchFirst();
  bool fetchOne();                            // appends one row; false at the end
  QVariant decode(std::size_t column) const;  // of the row in the buffer
  void releaseStatement();
  void detachFromTransaction();

  Database* database_;
  Transaction* transaction_;
  bool forwardOnly_ = false;
  bool active_ = false;
  bool eof_ = true;
  int current_ = -1;
  int rowsAffected_ = 0;

  Firebird::IStatement* statement_ = nullptr;
  Firebird::IResultSet* cursor_ = nullptr;
  Firebird::IMessageMetadata* outMeta_ = nullptr;
  QString preparedText_;
  std::vector<unsigned char> buffer_;
  std::vector<detail::MessageColumn> columns_;
  std::vector<FieldInfo> fields_;
  std::vector<std::vector<QVariant>> rows_;

  std::shared_ptr<RowSource> rowSource_;
  std::unique_ptr<RowCursor> sourceCursor_;
};

// A value as text: empty for null, dates in the short date format, a
// timestamp without its time at midnight.
QString displayText(const QVariant& value);
// A value as a grid cell shows it: as displayText, but times as "HH:mm:ss",
// decimals with the field's scale and binary blobs as "(BLOB)".
QString cellText(const QVariant& value, const FieldInfo& field);

// Sees every statement a query runs, as its lines, just before it runs. Tests
// install one to compare statements line by line; nullptr removes it.
using StatementObserver = std::function<void(const QStringList& lines)>;
void setStatementObserver(StatementObserver observer);
// Hands a statement run other than through a Query to the observer.
void notifyStatementObserver(const QStringList& lines);

// "SELECT GEN_ID(<generator>,<increment>) FROM RDB$DATABASE" in the given
// transaction. Throws DbError.
qint64 generatorValue(Transaction& transaction, const QString& generator, qint64 increment = 1);

// True when the database has a table (or view) of that name.
bool tableExists(Transaction& transaction, const QString& table);

}  // namespace db
