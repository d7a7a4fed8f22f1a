#include "query/model/RowList.h"

#include <algorithm>

namespace query::model {

RowList::RowList(QObject* parent) : QObject(parent) {}

QVariant RowList::value(const Row& row, Column column) {
  switch (column) {
    case Column::Numero:
      return row.numero;
    case Column::Nome:
      return row.nome;
    case Column::Mostra:
      return row.mostra;
    case Column::Condizione:
      return row.condizione;
  }
  return {};
}

int RowList::indexOf(const QString& nome, int from) const {
  for (int i = std::max(0, from); i < rows_.size(); ++i)
    if (rows_[i].nome == nome) return i;
  return -1;
}

int RowList::nextNumero() const {
  return rows_.isEmpty() ? 1 : rows_.last().numero + 1;
}

bool RowList::isReadOnly(Column column) const {
  return column != Column::Condizione && !internalChange();
}

bool RowList::canEdit(int index, Column column) const {
  if (index < 0 || index >= rows_.size() || isReadOnly(column)) return false;
  return internalChange() || !isStructural(rows_[index].mostra);
}

bool RowList::setCondizione(int index, const QString& condizione) {
  return setValue(index, Column::Condizione, condizione);
}

bool RowList::setValue(int index, Column column, const QVariant& value) {
  if (!canEdit(index, column)) return false;
  Row& row = rows_[index];
  switch (column) {
    case Column::Numero: {
      // A new ordinal moves the row to its place in the order.
      Row moved = row;
      moved.numero = value.toInt();
      emit aboutToReset();
      rows_.removeAt(index);
      placeRow(moved);
      emit reset();
      return true;
    }
    case Column::Nome:
      row.nome = value.toString();
      break;
    case Column::Mostra:
      row.mostra = value.toInt();
      break;
    case Column::Condizione:
      row.condizione = value.toString();
      break;
  }
  emit rowChanged(index);
  return true;
}

bool RowList::insertRow(const Row& row) {
  if (!internalChange()) return false;
  emit aboutToReset();
  placeRow(row);
  emit reset();
  return true;
}

bool RowList::append(const QString& nome, int mostra, const QString& condizione) {
  if (!internalChange()) return false;
  const int at = rows_.size();
  emit rowsAboutToBeInserted(at, at);
  rows_.append(Row{nextNumero(), nome, mostra, condizione});
  emit rowsInserted(at, at);
  return true;
}

bool RowList::remove(int index) {
  if (!internalChange() || index < 0 || index >= rows_.size()) return false;
  emit rowsAboutToBeRemoved(index, index);
  rows_.removeAt(index);
  emit rowsRemoved(index, index);
  return true;
}

bool RowList::setMostra(int index, int mostra) {
  return setValue(index, Column::Mostra, mostra);
}

bool RowList::replaceAll(QList<Row> rows) {
  if (!internalChange()) return false;
  std::stable_sort(rows.begin(), rows.end(),
                   [](const Row& a, const Row& b) { return a.numero < b.numero; });
  emit aboutToReset();
  rows_ = std::move(rows);
  emit reset();
  return true;
}

// Inserts after every row whose Numero is not greater, so the order holds.
void RowList::placeRow(const Row& row) {
  const auto at = std::upper_bound(rows_.begin(), rows_.end(), row.numero,
                                   [](int numero, const Row& r) { return numero < r.numero; });
  rows_.insert(at, row);
}

void RiempiTabIntTmp(RowList& TabIntTmp, const QStringList& fieldNames) {
  QList<Row> rows;
  rows.reserve(fieldNames.size());
  for (int i = 0; i < fieldNames.size(); ++i)
    rows.append(Row{i + 1, fieldNames[i], Mostra::Shown, QString()});
  InternalChange change(TabIntTmp);
  TabIntTmp.replaceAll(std::move(rows));
}

}  // namespace query::model
