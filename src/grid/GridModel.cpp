#include "grid/GridModel.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include "core/Dates.h"
#include "db/DataSet.h"
#include "db/Query.h"
#include "grid/ColorCode.h"

namespace grid {

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {
  widthOf_ = [](const db::FieldInfo&) { return 64; };
}

void GridModel::setSource(db::DataSet* source) {
  beginResetModel();
  source_ = source;
  open_ = source_ && source_->isActive();
  rows_ = open_ ? source_->rowCount() : 0;
  columns_ = open_ ? defaultColumns(*source_, widthOf_) : GridColumns{};
  endResetModel();
}

void GridModel::sourceClosing() {
  if (!open_) return;
  beginResetModel();
  open_ = false;
  rows_ = 0;
  columns_.clear();
  endResetModel();
}

void GridModel::sourceOpened() {
  beginResetModel();
  open_ = source_ && source_->isActive();
  rows_ = open_ ? source_->rowCount() : 0;
  columns_ = open_ ? defaultColumns(*source_, widthOf_) : GridColumns{};
  endResetModel();
}

void GridModel::sourceRowsChanged() {
  if (!open_ || !source_) return;
  const int now = source_->rowCount();
  // Rows come and go without touching the columns, so the view keeps its
  // column widths and hidden columns.
  if (now < rows_) {
    beginRemoveRows({}, now, rows_ - 1);
    rows_ = now;
    endRemoveRows();
  } else if (now > rows_) {
    beginInsertRows({}, rows_, now - 1);
    rows_ = now;
    endInsertRows();
  }
  if (rows_ > 0 && !columns_.empty())
    emit dataChanged(index(0, 0), index(rows_ - 1, static_cast<int>(columns_.size()) - 1));
}

void GridModel::sourceDestroyed() {
  beginResetModel();
  source_ = nullptr;
  open_ = false;
  rows_ = 0;
  columns_.clear();
  endResetModel();
}

void GridModel::setColumns(GridColumns columns) {
  const bool sameCount = columns.size() == columns_.size();
  if (!sameCount) beginResetModel();
  columns_ = std::move(columns);
  if (!sameCount) {
    endResetModel();
  } else if (!columns_.empty()) {
    emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(columns_.size()) - 1);
    if (rows_ > 0)
      emit dataChanged(index(0, 0), index(rows_ - 1, static_cast<int>(columns_.size()) - 1));
  }
  emit columnsChanged();
}

void GridModel::setColumnWidth(int column, int width) {
  if (column >= 0 && column < static_cast<int>(columns_.size()))
    columns_[static_cast<std::size_t>(column)].width = width;
}

void GridModel::moveColumn(int from, int to) {
  const int count = static_cast<int>(columns_.size());
  if (from < 0 || to < 0 || from >= count || to >= count || from == to) return;
  // beginMoveColumns wants the destination before which the column lands.
  if (!beginMoveColumns({}, from, from, {}, to > from ? to + 1 : to)) return;
  GridColumn moving = columns_[static_cast<std::size_t>(from)];
  columns_.erase(columns_.begin() + from);
  columns_.insert(columns_.begin() + to, std::move(moving));
  endMoveColumns();
  emit columnsChanged();
}

int GridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QString GridModel::displayText(const QVariant& value, const db::FieldInfo& field) {
  return db::cellText(value, field);
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !open_ || !source_) return {};
  const GridColumn& column = columns_[static_cast<std::size_t>(index.column())];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
      const QString text =
          displayText(source_->value(index.row(), column.field), source_->field(column.field));
      if (role == Qt::ToolTipRole && text.size() < 40) return {};
      return text;
    }
    case Qt::BackgroundRole:
      // The grid's own colour, whether unset or stored as such, is the view's.
      if (column.color == 0 || column.color == kColoreFinestra) return {};
      return colorFromCode(column.color);
    case Qt::TextAlignmentRole:
      if (db::isNumeric(column.type)) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
      return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    // The indicator column: no row numbers, only the current-row mark.
    if (role == Qt::DisplayRole) return QString();
    return {};
  }
  if (section < 0 || section >= static_cast<int>(columns_.size())) return {};
  const GridColumn& column = columns_[static_cast<std::size_t>(section)];
  switch (role) {
    case Qt::DisplayRole:
      return column.caption;
    case Qt::BackgroundRole:
      if (column.titleColor == 0) return {};
      return colorFromCode(column.titleColor);
    default:
      return {};
  }
}

bool GridModel::canFetchMore(const QModelIndex& parent) const {
  if (parent.isValid() || !open_ || !source_) return false;
  return rows_ < source_->rowCount() || source_->canFetchMore();
}

void GridModel::fetchMore(const QModelIndex& parent) {
  if (parent.isValid() || !open_ || !source_) return;
  // Rows the source already holds (read through its cursor by the host)
  // come first; then a batch from the database.
  if (source_->rowCount() <= rows_) source_->fetchMore(batch_);
  const int now = source_->rowCount();
  if (now <= rows_) return;
  beginInsertRows({}, rows_, now - 1);
  rows_ = now;
  endInsertRows();
}

}  // namespace grid
