#pragma once

#include <QList>
#include <QString>

#include "query/model/AnswerCodes.h"

namespace query::model {

// What the designer changes of an answer column: label, width, visibility and
// its place among the columns (the list order).
struct AnswerColumn {
  QString name;
  QString label;
  int width = 0;
  bool visible = true;

  friend bool operator==(const AnswerColumn&, const AnswerColumn&) = default;
};

// A row of the layout copy (TabAspRTmp).
struct LayoutRow {
  int nCampo = 0;     // index of the field in the answer, from 0
  QString nomeCampo;  // field name
  int dim = 0;        // display width
  int vis = 0;        // 1 visible, 0 hidden
  int pos = 0;        // column position
  int raggruppa = 0;  // the column's Raggruppa code

  friend bool operator==(const LayoutRow&, const LayoutRow&) = default;
};

// The layout copy of the answer's columns, in column order.
QList<LayoutRow> SalvaAspetto(const QList<AnswerColumn>& columns, const AnswerCodes& codes);

// Applies a layout copy to the re-opened answer's columns, row by row: the
// column of that name gets the width, a label cut to Dim characters when Dim
// is shorter than the name, its visibility, and moves to position Pos (kept
// within the list). Rows naming no column are passed over.
void applyLayout(const QList<LayoutRow>& layout, QList<AnswerColumn>& columns);

}  // namespace query::model
