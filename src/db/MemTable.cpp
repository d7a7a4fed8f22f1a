#include "db/MemTable.h"

#include <QDate>
#include <QDateTime>
#include <algorithm>
#include <stdexcept>

#include "db/Query.h"

namespace db {

namespace {

// Orders two values of one column; nulls come first.
int compareValues(const QVariant& a, const QVariant& b,
                  Qt::CaseSensitivity text = Qt::CaseSensitive) {
  if (a.isNull() || b.isNull()) return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
  if (text == Qt::CaseInsensitive && a.typeId() == QMetaType::QString &&
      b.typeId() == QMetaType::QString)
    return QString::compare(a.toString(), b.toString(), Qt::CaseInsensitive);
  const auto order = QVariant::compare(a, b);
  if (order == QPartialOrdering::Less) return -1;
  if (order == QPartialOrdering::Greater) return 1;
  if (order == QPartialOrdering::Equivalent) return 0;
  return QString::compare(a.toString(), b.toString());
}

}  // namespace

void MemTable::addField(const QString& name, FieldType type, int size) {
  if (state_ != State::Inactive)
    throw std::logic_error("fields are defined before the table opens");
  FieldInfo info;
  info.name = name;
  info.type = type;
  info.size = size;
  fields_.push_back(info);
}

void MemTable::setReadOnly(const QString& name, bool readOnly) {
  fields_.at(static_cast<std::size_t>(requireField(name))).readOnly = readOnly;
}

int MemTable::requireField(const QString& name) const {
  const int index = fieldIndex(name);
  if (index < 0) throw std::logic_error("unknown field " + name.toStdString());
  return index;
}

void MemTable::open() {
  if (state_ != State::Inactive) return;
  fireBeforeOpen();
  state_ = State::Browse;
  rebuildVisible();
  first();
  notify(Notice::Opened);
  fireAfterOpen();
}

void MemTable::close() {
  if (state_ != State::Inactive) {
    fireBeforeClose();
    notify(Notice::Closing);
  }
  records_.clear();
  visible_.clear();
  buffer_.clear();
  state_ = State::Inactive;
  current_ = -1;
  eof_ = true;
}

void MemTable::clear() {
  if (state_ == State::Inactive) return;
  records_.clear();
  visible_.clear();
  buffer_.clear();
  state_ = State::Browse;
  current_ = -1;
  eof_ = true;
  notify(Notice::RowsChanged);
}

bool MemTable::setCurrentRow(int row) {
  if (row < 0 || row >= rowCount()) {
    current_ = rowCount() == 0 ? -1 : current_;
    eof_ = rowCount() == 0;
    return false;
  }
  current_ = row;
  eof_ = false;
  return true;
}

void MemTable::next() {
  if (current_ + 1 < rowCount())
    ++current_;
  else
    eof_ = true;
}

bool MemTable::startEdit(State state, const Guard& guard) {
  if (state_ == State::Inactive) throw std::logic_error("table not open");
  if (state_ != State::Browse) post();
  if (guard && !guard(*this)) return false;
  state_ = state;
  return true;
}

bool MemTable::append() {
  if (!startEdit(State::Insert, beforeInsert_)) return false;
  buffer_.assign(fields_.size(), QVariant());
  insertAt_ = -1;
  return true;
}

bool MemTable::insert() {
  const int at =
      current_ >= 0 && current_ < rowCount() ? visible_[static_cast<std::size_t>(current_)] : -1;
  if (!startEdit(State::Insert, beforeInsert_)) return false;
  buffer_.assign(fields_.size(), QVariant());
  insertAt_ = at;
  return true;
}

bool MemTable::edit() {
  if (current_ < 0 || current_ >= rowCount()) return false;
  if (!startEdit(State::Edit, beforeEdit_)) return false;
  buffer_ = records_[static_cast<std::size_t>(visible_[static_cast<std::size_t>(current_)])].values;
  return true;
}

void MemTable::post() {
  const bool posted = state_ == State::Edit || state_ == State::Insert;
  if (state_ == State::Edit) {
    records_[static_cast<std::size_t>(visible_[static_cast<std::size_t>(current_)])].values =
        buffer_;
  } else if (state_ == State::Insert) {
    for (std::size_t i = 0; i < fields_.size(); ++i)
      if (fields_[i].type == FieldType::AutoInc && buffer_[i].isNull()) buffer_[i] = nextAutoInc_++;
    Record record{nextId_++, buffer_};
    const Bookmark id = record.id;
    if (insertAt_ < 0 || insertAt_ >= static_cast<int>(records_.size()))
      records_.push_back(std::move(record));
    else
      records_.insert(records_.begin() + insertAt_, std::move(record));
    state_ = State::Browse;
    rebuildVisible();
    gotoBookmark(id);
  }
  state_ = state_ == State::Inactive ? State::Inactive : State::Browse;
  buffer_.clear();
  if (posted) notify(Notice::RowsChanged);
}

void MemTable::cancel() {
  if (state_ == State::Insert || state_ == State::Edit) state_ = State::Browse;
  buffer_.clear();
}

bool MemTable::remove() {
  if (state_ != State::Browse) cancel();
  if (current_ < 0 || current_ >= rowCount()) return false;
  if (beforeDelete_ && !beforeDelete_(*this)) return false;
  records_.erase(records_.begin() + visible_[static_cast<std::size_t>(current_)]);
  rebuildVisible();
  setCurrentRow(std::min(current_, rowCount() - 1));
  notify(Notice::RowsChanged);
  return true;
}

void MemTable::setValue(const QString& name, const QVariant& value) {
  if (state_ != State::Insert && state_ != State::Edit)
    throw std::logic_error("the table is not being edited");
  const int index = requireField(name);
  if (fields_[static_cast<std::size_t>(index)].readOnly)
    throw std::logic_error("field " + name.toStdString() + " is read-only");
  buffer_[static_cast<std::size_t>(index)] = value;
}

QVariant MemTable::value(const QString& name) const {
  const int index = requireField(name);
  if (state_ == State::Insert || state_ == State::Edit)
    return buffer_[static_cast<std::size_t>(index)];
  return value(current_, index);
}

QString MemTable::text(const QString& name) const {
  return displayText(value(name));
}

QVariant MemTable::value(int row, int column) const {
  if (row < 0 || row >= rowCount() || column < 0 || column >= fieldCount()) return {};
  return records_[static_cast<std::size_t>(visible_[static_cast<std::size_t>(row)])]
      .values[static_cast<std::size_t>(column)];
}

QVariant MemTable::recordValue(int record, int column) const {
  return records_.at(static_cast<std::size_t>(record)).values.at(static_cast<std::size_t>(column));
}

void MemTable::sort(const QList<QPair<int, bool>>& keys, Qt::CaseSensitivity text) {
  const Bookmark mark = bookmark();
  std::stable_sort(records_.begin(), records_.end(), [&](const Record& a, const Record& b) {
    for (const auto& [column, ascending] : keys) {
      const auto c = static_cast<std::size_t>(column);
      const int order = compareValues(a.values.at(c), b.values.at(c), text);
      if (order != 0) return ascending ? order < 0 : order > 0;
    }
    return false;
  });
  rebuildVisible();
  gotoBookmark(mark);
  notify(Notice::RowsChanged);
}

void MemTable::setFilter(Filter filter) {
  const Bookmark mark = bookmark();
  filter_ = std::move(filter);
  rebuildVisible();
  if (!gotoBookmark(mark)) first();
  notify(Notice::RowsChanged);
}

void MemTable::rebuildVisible() {
  visible_.clear();
  for (int i = 0; i < static_cast<int>(records_.size()); ++i)
    if (!filter_ || filter_(*this, i)) visible_.push_back(i);
}

MemTable::Bookmark MemTable::bookmark() const {
  if (current_ < 0 || current_ >= rowCount()) return 0;
  return records_[static_cast<std::size_t>(visible_[static_cast<std::size_t>(current_)])].id;
}

bool MemTable::gotoBookmark(Bookmark mark) {
  if (mark == 0) return false;
  for (int row = 0; row < rowCount(); ++row)
    if (records_[static_cast<std::size_t>(visible_[static_cast<std::size_t>(row)])].id == mark)
      return setCurrentRow(row);
  return false;
}

bool MemTable::locate(const QStringList& names, const QVariantList& values) {
  QList<int> columns;
  for (const QString& name : names) columns.append(requireField(name));
  for (int row = 0; row < rowCount(); ++row) {
    bool match = true;
    for (int i = 0; i < columns.size() && match; ++i)
      match = compareValues(value(row, columns[i]), values.value(i)) == 0;
    if (match) return setCurrentRow(row);
  }
  return false;
}

}  // namespace db
