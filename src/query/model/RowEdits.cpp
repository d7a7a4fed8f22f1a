#include "query/model/RowEdits.h"

#include <algorithm>

namespace query::model {

bool toggleShown(RowList& rows, int index) {
  if (index < 0 || index >= rows.count()) return false;
  const int mostra = rows.at(index).mostra;
  if (mostra != Mostra::Hidden && mostra != Mostra::Shown) return false;
  InternalChange change(rows);
  return rows.setMostra(index, mostra == Mostra::Hidden ? Mostra::Shown : Mostra::Hidden);
}

void setAllShown(RowList& rows, bool shown) {
  const int from = shown ? Mostra::Hidden : Mostra::Shown;
  const int to = shown ? Mostra::Shown : Mostra::Hidden;
  InternalChange change(rows);
  for (int i = 0; i < rows.count(); ++i)
    if (rows.at(i).mostra == from) rows.setMostra(i, to);
}

QStringList removableTables(const RowList& rows) {
  QStringList names;
  for (const Row& row : rows.rows())
    if (row.mostra == Mostra::LeftJoin && row.condizione != kUnion && row.nome != kUnion)
      names << row.nome;
  return names;
}

QStringList fieldNames(const RowList& rows) {
  QStringList names;
  for (const Row& row : rows.rows())
    if (row.mostra == Mostra::Hidden || row.mostra == Mostra::Shown) names << row.nome;
  return names;
}

TableRemoval planTableRemoval(const RowList& rows, const QString& headerName) {
  TableRemoval plan;
  int header = -1;
  for (int i = 0; i < rows.count() && header < 0; ++i)
    if (isJoinHeader(rows.at(i).mostra) && rows.at(i).nome == headerName) header = i;
  if (header < 0) return plan;
  plan.found = true;
  // The letter comes from the key rows right after the header.
  if (header + 1 >= rows.count() || rows.at(header + 1).mostra != Mostra::LinkKey) {
    plan.rows << header;
    return plan;
  }
  const QString prefix = rows.at(header + 1).nome.left(1) + '.';
  for (const Row& row : rows.rows())
    if (row.condizione.startsWith(prefix)) {
      plan.linked = true;
      return plan;
    }
  plan.rows << header;
  for (int i = 0; i < rows.count(); ++i)
    if (!isJoinHeader(rows.at(i).mostra) && rows.at(i).nome.contains(prefix)) plan.rows << i;
  return plan;
}

void removeTable(RowList& rows, const TableRemoval& plan) {
  if (!plan.found || plan.linked) return;
  QList<int> positions = plan.rows;
  std::sort(positions.begin(), positions.end(), std::greater<>());
  InternalChange change(rows);
  for (int position : positions) rows.remove(position);
}

}  // namespace query::model
