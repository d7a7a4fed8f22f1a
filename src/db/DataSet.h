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
  virtual ~DataSet() = default;

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

 protected:
  void fireBeforeOpen();
  void fireAfterOpen();

 private:
  Hook beforeOpen_;
  Hook afterOpen_;
};

}  // namespace db
