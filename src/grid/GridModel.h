#pragma once

#include <QAbstractTableModel>
#include <functional>

#include "grid/GridColumns.h"

namespace db {
class DataSet;
}

namespace grid {

// The rows of a data source as the grid shows them, column by column in
// the grid's column order. Rows are fetched from the source in batches as
// the view scrolls towards them, so opening a large answer reads only what
// the first screen shows.
class GridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Width in pixels of a field's default column.
  using WidthOf = std::function<int(const db::FieldInfo&)>;

  explicit GridModel(QObject* parent = nullptr);

  void setWidthOf(WidthOf widthOf) { widthOf_ = std::move(widthOf); }
  // Rows fetched per batch.
  void setBatchSize(int rows) { batch_ = rows; }

  // Follows a source (nullptr: none). The model is empty while the source
  // is closed.
  void setSource(db::DataSet* source);
  db::DataSet* source() const { return source_; }
  bool isOpen() const { return open_; }

  // The source is closing: the rows are dropped.
  void sourceClosing();
  // The source has opened: the default columns and the first rows.
  void sourceOpened();
  // The source's rows changed wholesale (sort, filter, edit).
  void sourceRowsChanged();
  // The source object is gone.
  void sourceDestroyed();

  const GridColumns& columns() const { return columns_; }
  // Replaces the columns (same fields, new order and looks).
  void setColumns(GridColumns columns);
  // Records a width the view was given (no notification: the view has it).
  void setColumnWidth(int column, int width);
  // Moves a column, as a drag of its title does.
  void moveColumn(int from, int to);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

  // The text a cell shows.
  static QString displayText(const QVariant& value, const db::FieldInfo& field);

 signals:
  // The columns changed (order or looks): the view applies widths and visibility.
  void columnsChanged();

 private:
  db::DataSet* source_ = nullptr;
  bool open_ = false;
  int rows_ = 0;
  int batch_ = 100;
  GridColumns columns_;
  WidthOf widthOf_;
};

}  // namespace grid
