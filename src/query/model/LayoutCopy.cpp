#include "query/model/LayoutCopy.h"

#include <algorithm>

namespace query::model {

QList<LayoutRow> SalvaAspetto(const QList<AnswerColumn>& columns, const AnswerCodes& codes) {
  QList<LayoutRow> layout;
  layout.reserve(columns.size());
  for (int i = 0; i < columns.size(); ++i) {
    const AnswerColumn& column = columns[i];
    layout.append(
        LayoutRow{i, column.name, column.width, column.visible ? 1 : 0, i, codes.code(i)});
  }
  return layout;
}

void applyLayout(const QList<LayoutRow>& layout, QList<AnswerColumn>& columns) {
  for (const LayoutRow& row : layout) {
    const auto found = std::find_if(columns.begin(), columns.end(),
                                    [&](const AnswerColumn& c) { return c.name == row.nomeCampo; });
    if (found == columns.end()) continue;
    AnswerColumn& column = *found;
    column.width = row.dim;
    if (row.dim < column.name.size()) column.label = column.name.left(std::max(0, row.dim));
    column.visible = row.vis == 1;
    const int from = static_cast<int>(found - columns.begin());
    columns.move(from, std::clamp(row.pos, 0, static_cast<int>(columns.size()) - 1));
  }
}

}  // namespace query::model
