#include "db/EditableTable.h"

#include "core/SqlText.h"
#include "db/Transaction.h"

namespace db {

QStringList EditableTable::keyColumns() const {
  if (!keyColumns_.isEmpty()) return keyColumns_;
  return fieldCount() > 0 ? QStringList{field(0).name} : QStringList{};
}

bool EditableTable::append() {
  if (!isActive()) throw DbError(QStringLiteral("Tabella non aperta"));
  if (state_ != State::Browse) post();
  buffer_.assign(static_cast<std::size_t>(fieldCount()), QVariant());
  changed_.assign(static_cast<std::size_t>(fieldCount()), false);
  state_ = State::Insert;
  return true;
}

bool EditableTable::edit() {
  if (isEof() || currentRow() < 0) return false;
  if (state_ == State::Edit) return true;
  if (state_ == State::Insert) post();
  if (beforeEdit_ && !beforeEdit_(*this)) return false;
  buffer_ = mutableRows()[static_cast<std::size_t>(currentRow())];
  changed_.assign(buffer_.size(), false);
  state_ = State::Edit;
  return true;
}

void EditableTable::setValue(const QString& column, const QVariant& value) {
  if (state_ == State::Browse) throw DbError(QStringLiteral("La tabella non è in modifica"));
  const int index = fieldIndex(column);
  if (index < 0) throw DbError(QStringLiteral("Campo non trovato: ") + column);
  buffer_[static_cast<std::size_t>(index)] = value;
  changed_[static_cast<std::size_t>(index)] = true;
}

QVariant EditableTable::value(const QString& column) const {
  if (state_ == State::Browse) return Query::value(column);
  const int index = fieldIndex(column);
  if (index < 0) throw DbError(QStringLiteral("Campo non trovato: ") + column);
  return buffer_[static_cast<std::size_t>(index)];
}

QString EditableTable::keyCondition(const std::vector<QVariant>& row) const {
  QStringList parts;
  for (const QString& key : keyColumns()) {
    const QVariant v = row[static_cast<std::size_t>(fieldIndex(key))];
    parts << core::sqlIdentifier(key) +
                 (v.isNull() ? QStringLiteral(" IS NULL") : '=' + core::sqlLiteral(v));
  }
  return parts.join(QStringLiteral(" AND "));
}

void EditableTable::runStatement(const QStringList& lines) {
  Query statement(database(), transaction());
  statement.sql = lines;
  statement.execSql();
}

void EditableTable::post() {
  if (state_ == State::Browse) return;
  QStringList columns;
  QStringList values;
  for (int i = 0; i < fieldCount(); ++i) {
    if (!changed_[static_cast<std::size_t>(i)]) continue;
    columns << core::sqlIdentifier(field(i).name);
    values << core::sqlLiteral(buffer_[static_cast<std::size_t>(i)]);
  }
  auto& rows = mutableRows();
  if (state_ == State::Insert) {
    runStatement({QStringLiteral("INSERT INTO ") + tableName() + " (" + columns.join(',') + ')',
                  QStringLiteral("VALUES (") + values.join(',') + ')'});
    rows.push_back(buffer_);
    setCurrentRow(rowCount() - 1);
  } else if (!columns.isEmpty()) {
    QStringList assignments;
    for (int i = 0; i < columns.size(); ++i) assignments << columns[i] + '=' + values[i];
    const auto current = static_cast<std::size_t>(currentRow());
    runStatement({QStringLiteral("UPDATE ") + tableName(),
                  QStringLiteral("SET ") + assignments.join(','),
                  QStringLiteral("WHERE ") + keyCondition(rows[current])});
    rows[current] = buffer_;
  }
  state_ = State::Browse;
  buffer_.clear();
}

void EditableTable::cancel() {
  state_ = State::Browse;
  buffer_.clear();
}

void EditableTable::remove() {
  cancel();
  if (isEof() || currentRow() < 0) return;
  auto& rows = mutableRows();
  const auto current = static_cast<std::size_t>(currentRow());
  runStatement({QStringLiteral("DELETE FROM ") + tableName(),
                QStringLiteral("WHERE ") + keyCondition(rows[current])});
  rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(current));
  setCurrentRow(std::min(currentRow(), rowCount() - 1));
}

EditableTable::Bookmark EditableTable::bookmark() const {
  if (isEof() || currentRow() < 0) return {};
  Bookmark mark;
  for (const QString& key : keyColumns()) mark << Query::value(key);
  return mark;
}

bool EditableTable::gotoBookmark(const Bookmark& mark) {
  const QStringList keys = keyColumns();
  if (mark.isEmpty() || mark.size() != keys.size()) return false;
  recordCount();
  for (int row = 0; row < rowCount(); ++row) {
    bool same = true;
    for (int k = 0; k < keys.size() && same; ++k)
      same = Query::value(row, fieldIndex(keys[k])) == mark[k];
    if (same) {
      setCurrentRow(row);
      return true;
    }
  }
  return false;
}

bool EditableTable::locate(const QString& column, const QVariant& value) {
  const int index = fieldIndex(column);
  if (index < 0) return false;
  recordCount();
  for (int row = 0; row < rowCount(); ++row) {
    if (Query::value(row, index) == value) {
      setCurrentRow(row);
      return true;
    }
  }
  return false;
}

void EditableTable::last() {
  recordCount();
  setCurrentRow(rowCount() - 1);
}

}  // namespace db
