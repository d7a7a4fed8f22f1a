#pragma once

#include <QVariant>
#include <functional>
#include <vector>

#include "db/Table.h"

namespace db {

// A database table whose rows can be added, changed and deleted. Every change
// is one statement run at once in the table's transaction (made permanent
// when the transaction commits): INSERT for a new row, UPDATE and DELETE of
// the row with the current row's key. The key is the first column unless set.
class EditableTable : public Table {
 public:
  enum class State { Browse, Insert, Edit };
  // The key values of a row: a position that survives a reopening.
  using Bookmark = QVariantList;
  // Refuses an edit by returning false (a row lock that failed, say).
  using Guard = std::function<bool(EditableTable&)>;

  using Table::Table;

  void setKeyColumns(QStringList columns) { keyColumns_ = std::move(columns); }
  QStringList keyColumns() const;

  State state() const { return state_; }
  bool append();
  bool edit();
  void setValue(const QString& column, const QVariant& value);
  // The current row's value, or the edit buffer's while editing.
  QVariant value(const QString& column) const;
  using Query::value;
  // Runs the INSERT or UPDATE; throws DbError and stays in the edit state
  // when the statement fails.
  void post();
  void cancel();
  // Deletes the current row; throws DbError when the statement fails.
  void remove();

  void setBeforeEdit(Guard guard) { beforeEdit_ = std::move(guard); }

  Bookmark bookmark() const;
  // Goes to the row with those key values, fetching as far as needed.
  bool gotoBookmark(const Bookmark& mark);
  bool locate(const QString& column, const QVariant& value);
  void last();

 private:
  QString keyCondition(const std::vector<QVariant>& row) const;
  void runStatement(const QStringList& lines);

  QStringList keyColumns_;
  State state_ = State::Browse;
  std::vector<QVariant> buffer_;
  std::vector<bool> changed_;
  Guard beforeEdit_;
};

}  // namespace db
