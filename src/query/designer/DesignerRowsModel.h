#pragma once

#include <QAbstractTableModel>
#include <QColor>

namespace query::model {
class RowList;
}

namespace query::designer {

// The designer's rows as its grid shows them: Nome, Mostra (titled "M")
// and Condizione. Only Condizione is editable, and only where the row list
// allows it (never on headers, link keys or the lock row). Rows other than
// hidden fields are coloured by kind, with black text.
class DesignerRowsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum ColumnIndex { ColumnNome, ColumnMostra, ColumnCondizione, kColumns };

  explicit DesignerRowsModel(model::RowList& rows, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // The colour a row of the kind is drawn in; invalid for the grid's own.
  static QColor kindColour(int mostra);

 private:
  model::RowList& rows_;
};

}  // namespace query::designer
