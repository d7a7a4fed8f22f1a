#include "query/designer/DesignerRowsModel.h"

#include <QApplication>
#include <QPalette>

#include "query/model/RowList.h"

namespace query::designer {

using model::RowList;

DesignerRowsModel::DesignerRowsModel(RowList& rows, QObject* parent)
    : QAbstractTableModel(parent), rows_(rows) {
  connect(&rows_, &RowList::rowsAboutToBeInserted, this,
          [this](int first, int last) { beginInsertRows({}, first, last); });
  connect(&rows_, &RowList::rowsInserted, this, [this] { endInsertRows(); });
  connect(&rows_, &RowList::rowsAboutToBeRemoved, this,
          [this](int first, int last) { beginRemoveRows({}, first, last); });
  connect(&rows_, &RowList::rowsRemoved, this, [this] { endRemoveRows(); });
  connect(&rows_, &RowList::aboutToReset, this, [this] { beginResetModel(); });
  connect(&rows_, &RowList::reset, this, [this] { endResetModel(); });
  connect(&rows_, &RowList::rowChanged, this,
          [this](int row) { emit dataChanged(index(row, 0), index(row, kColumns - 1)); });
}

int DesignerRowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_.count();
}

int DesignerRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QColor DesignerRowsModel::kindColour(int mostra) {
  switch (mostra) {
    case model::Mostra::Shown:
      // The system's desktop colour marks the fields that are output.
      return QApplication::palette().color(QPalette::Highlight);
    case model::Mostra::Frozen:
      return QColor(0x00, 0xFF, 0xFF);
    case model::Mostra::LeftJoin:
    case model::Mostra::RightJoin:
      return QColor(0xFF, 0x00, 0x00);
    case model::Mostra::LinkKey:
      return QColor(0xFF, 0xFF, 0x00);
    case model::Mostra::Lock:
      return QColor(0xFF, 0x00, 0xFF);
    default:
      return {};
  }
}

QVariant DesignerRowsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_.count()) return {};
  const model::Row& row = rows_.at(index.row());
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      switch (index.column()) {
        case ColumnNome:
          return row.nome;
        case ColumnMostra:
          return row.mostra;
        case ColumnCondizione:
          return row.condizione;
        default:
          return {};
      }
    case Qt::BackgroundRole: {
      const QColor colour = kindColour(row.mostra);
      return colour.isValid() ? QVariant(colour) : QVariant();
    }
    case Qt::ForegroundRole:
      if (row.mostra == model::Mostra::Shown)
        return QApplication::palette().color(QPalette::HighlightedText);
      return kindColour(row.mostra).isValid() ? QVariant(QColor(Qt::black)) : QVariant();
    default:
      return {};
  }
}

QVariant DesignerRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case ColumnNome:
      return QStringLiteral("Nome");
    case ColumnMostra:
      return QStringLiteral("M");
    case ColumnCondizione:
      return QStringLiteral("Condizione");
    default:
      return {};
  }
}

Qt::ItemFlags DesignerRowsModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == ColumnCondizione && rows_.canEdit(index.row(), RowList::Column::Condizione))
    flags |= Qt::ItemIsEditable;
  return flags;
}

bool DesignerRowsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || index.column() != ColumnCondizione) return false;
  return rows_.setCondizione(index.row(), value.toString());
}

}  // namespace query::designer
