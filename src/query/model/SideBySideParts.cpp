#include "query/model/SideBySideParts.h"

#include <QList>
#include <algorithm>

namespace query::model {

namespace {

int firstLockRow(const QList<Row>& rows) {
  for (int i = 0; i < rows.size(); ++i)
    if (rows.at(i).mostra == Mostra::Lock) return i;
  return -1;
}

}  // namespace

int sideBySidePartCount(const RowList& rows) {
  int locks = 0;
  for (const Row& row : rows.rows())
    if (row.mostra == Mostra::Lock) ++locks;
  return locks > 1 ? locks - 1 : 0;
}

QString addSideBySidePart(RowList& rows, DesignerFlags& flags, const QString& baseTable) {
  const QList<Row> before = rows.rows();
  const bool anyShown = std::any_of(before.begin(), before.end(),
                                    [](const Row& row) { return row.mostra == Mostra::Shown; });
  if (!anyShown) return kNoFieldShown;
  const int lockRow = firstLockRow(before);
  if (lockRow < 0) return kNotLocked;

  InternalChange change(rows);
  for (int i = 0; i <= lockRow; ++i)
    if (rows.at(i).mostra == Mostra::Shown) rows.setMostra(i, Mostra::Frozen);
  rows.append(baseTable, Mostra::LeftJoin, kUnion);
  for (int i = 0; i <= lockRow; ++i) {
    const Row& row = before.at(i);
    if (row.mostra == Mostra::LeftJoin)
      rows.append(kUnion, Mostra::LeftJoin);
    else if (row.mostra == Mostra::Lock)
      rows.append(row.nome, Mostra::Lock, kUnion);
    // A field frozen by an earlier part was output in the first part: the new
    // part starts with it shown, free to be deselected.
    else if (row.mostra == Mostra::Frozen)
      rows.append(row.nome, Mostra::Shown, row.condizione);
    else
      rows.append(row.nome, row.mostra, row.condizione);
  }
  flags.sideBySide = true;
  return {};
}

bool removeLastSideBySidePart(RowList& rows, DesignerFlags& flags) {
  if (sideBySidePartCount(rows) == 0) return false;
  InternalChange change(rows);
  int last = rows.count() - 1;
  while (rows.at(last).mostra != Mostra::Lock) --last;
  rows.remove(last);
  while (rows.count() > 0 && rows.at(rows.count() - 1).mostra != Mostra::Lock)
    rows.remove(rows.count() - 1);
  // The first part stays frozen while another part still copies its selection.
  if (sideBySidePartCount(rows) > 0) return true;
  flags.sideBySide = false;
  for (int i = 0; i < rows.count(); ++i)
    if (rows.at(i).mostra == Mostra::Frozen) rows.setMostra(i, Mostra::Shown);
  return true;
}

}  // namespace query::model
