#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "query/model/RowList.h"

// The designer's commands that change the rows' structure or their output
// marks. Each works inside an internal change of its own.
namespace query::model {

// F3: a hidden field becomes shown and a shown one hidden; other kinds
// (the frozen fields of a side-by-side query included) stay as they are.
// False when the row was not toggled.
bool toggleShown(RowList& rows, int index);

// Every hidden field shown (or every shown field hidden); other kinds stay.
void setAllShown(RowList& rows, bool shown);

// The Nome of every left-join header (LANCISTAMPA = A), in list order: the
// tables a user can remove.
QStringList removableTables(const RowList& rows);

// Nome of the field rows (hidden or shown) in list order.
QStringList fieldNames(const RowList& rows);

// What removing the joined table of the header `headerName` involves.
struct TableRemoval {
  bool found = false;   // the header is in the list
  bool linked = false;  // another table is joined through this one
  QList<int> rows;      // positions to delete, header first
};
TableRemoval planTableRemoval(const RowList& rows, const QString& headerName);
// Deletes the rows of a plan that is found and not linked.
void removeTable(RowList& rows, const TableRemoval& plan);

}  // namespace query::model
