#pragma once

#include <QList>
#include <QPair>
#include <QVariant>
#include <functional>
#include <vector>

#include "db/DataSet.h"

namespace db {

// An in-memory ordered list of records with typed fields, like the
// client-side tables the windows fill by hand (the parameter table, the
// reprint list). One record is current; edits go through a buffer that is
// posted or cancelled. Fields of type AutoInc are numbered on post.
class MemTable : public DataSet {
 public:
  enum class State { Inactive, Browse, Insert, Edit };
  using Bookmark = quint64;
  // A guard returns false to refuse the change; nothing is changed then.
  using Guard = std::function<bool(MemTable&)>;

  // Field definitions, made before open().
  void addField(const QString& name, FieldType type, int size = 0);
  void setReadOnly(const QString& name, bool readOnly);

  void open();
  void close();
  // Removes every record; the table stays open.
  void clear();
  State state() const { return state_; }

  // Cursor. Positions count the records that pass the filter.
  int currentRow() const { return current_; }
  bool setCurrentRow(int row);
  void first() { setCurrentRow(0); }
  void next();
  bool isEof() const { return eof_; }
  bool isEmpty() const { return rowCount() == 0; }

  // Editing. append() adds at the end, insert() before the current record.
  // Throws std::logic_error on misuse (setValue outside an edit, on a
  // read-only column, or on an unknown field).
  bool append();
  bool insert();
  bool edit();
  void post();
  void cancel();
  bool remove();
  void setValue(const QString& name, const QVariant& value);
  // The current record's value (the edit buffer while editing).
  QVariant value(const QString& name) const;
  QString text(const QString& name) const;

  void setBeforeInsert(Guard guard) { beforeInsert_ = std::move(guard); }
  void setBeforeEdit(Guard guard) { beforeEdit_ = std::move(guard); }
  void setBeforeDelete(Guard guard) { beforeDelete_ = std::move(guard); }

  // Stable sort on (column, ascending) keys; nulls first. Text compares
  // ignoring case when asked.
  void sort(const QList<QPair<int, bool>>& keys, Qt::CaseSensitivity text = Qt::CaseSensitive);
  // Only records the predicate accepts are visible; an empty function shows all.
  using Filter = std::function<bool(const MemTable&, int record)>;
  void setFilter(Filter filter);
  // Value of a stored record by its index among all records (for filters).
  QVariant recordValue(int record, int column) const;

  Bookmark bookmark() const;
  bool gotoBookmark(Bookmark mark);

  // Finds the first visible record whose columns equal the values; makes it
  // current and returns true.
  bool locate(const QStringList& names, const QVariantList& values);

  // DataSet
  bool isActive() const override { return state_ != State::Inactive; }
  int fieldCount() const override { return static_cast<int>(fields_.size()); }
  const FieldInfo& field(int index) const override { return fields_.at(index); }
  int rowCount() const override { return static_cast<int>(visible_.size()); }
  QVariant value(int row, int column) const override;

 private:
  struct Record {
    Bookmark id;
    std::vector<QVariant> values;
  };
  int requireField(const QString& name) const;
  void rebuildVisible();
  bool startEdit(State state, const Guard& guard);

  std::vector<FieldInfo> fields_;
  std::vector<Record> records_;
  std::vector<int> visible_;  // indexes into records_ that pass the filter
  Filter filter_;
  State state_ = State::Inactive;
  int current_ = -1;
  bool eof_ = true;
  std::vector<QVariant> buffer_;
  int insertAt_ = -1;  // record index the new record goes before (-1: end)
  Bookmark nextId_ = 1;
  qint64 nextAutoInc_ = 1;
  Guard beforeInsert_, beforeEdit_, beforeDelete_;
};

}  // namespace db
