#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

#include "db/FieldType.h"

namespace db {

// What a grid reads, whatever holds the rows: a query, a database table or an
// in-memory table. Rows are addressed by position among the rows fetched so
// far; a source that fetches lazily grows as fetchMore() is called.
class DataSet {
 public:
  DataSet() = default;
  // A copy keeps the hooks but none of the observers: a view follows the
  // object it was attached to.
  DataSet(const DataSet& other);
  DataSet& operator=(const DataSet& other);
  // Tells the observers that the source is gone.
  virtual ~DataSet();

  virtual bool isActive() const = 0;
  virtual int fieldCount() const = 0;
  virtual const FieldInfo& field(int index) const = 0;
  // -1 when no field has that name (case-insensitive, as the database).
  int fieldIndex(const QString& name) const;

  virtual int rowCount() const = 0;
  virtual bool canFetchMore() const { return false; }
  // Fetches up to count more rows; returns how many arrived.
  virtual int fetchMore(int count) {
    (void)count;
    return 0;
  }
  // Null QVariant for SQL NULL. Text is QString, integers qint64, exact
  // numerics with a scale and floats double, dates QDate, times QTime,
  // timestamps QDateTime, text blobs QString, binary blobs QByteArray.
  virtual QVariant value(int row, int column) const = 0;

  // Hooks the grid and the windows install (before/after the source opens).
  // Each returns the previous handler so that a new one can call it first.
  using Hook = std::function<void(DataSet&)>;
  Hook setBeforeOpen(Hook hook);
  Hook setAfterOpen(Hook hook);
  // Runs while an open source is being closed, its rows still readable (an
  // explicit close, a reopening, the end of the query's transaction).
  Hook setBeforeClose(Hook hook);

  // What views showing the rows are told, apart from the hooks (so that a
  // view never displaces a window's handler): the rows are about to go
  // (Closing), the source has opened (Opened, before the after-open hook),
  // the visible rows changed wholesale (RowsChanged: a sort, a filter, an
  // edit of in-memory data), the source object is being destroyed
  // (Destroyed: nothing of it may be read any more).
  enum class Notice { Closing, Opened, RowsChanged, Destroyed };
  using Observer = std::function<void(DataSet&, Notice)>;
  // One observer per owner; adding again replaces it.
  void addObserver(const void* owner, Observer observer);
  void removeObserver(const void* owner);

 protected:
  void fireBeforeOpen();
  void fireAfterOpen();
  void fireBeforeClose();
  void notify(Notice notice);

 private:
  Hook beforeOpen_;
  Hook afterOpen_;
  Hook beforeClose_;
  std::vector<std::pair<const void*, Observer>> observers_;
};

}  // namespace db
