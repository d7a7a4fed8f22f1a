#include "query/designer/AnswerModel.h"

#include <QLocale>

#include "db/DataSet.h"
#include "query/engine/DigitGrouping.h"
#include "query/engine/DisplayWidth.h"
#include "query/model/AnswerCodes.h"

namespace query::designer {

AnswerModel::AnswerModel(const model::AnswerCodes& codes, QObject* parent)
    : grid::GridModel(parent), codes_(codes) {
  // Each column as wide as its field's display width, in the grid's characters.
  setWidthOf([this](const db::FieldInfo& field) {
    return engine::defaultDisplayWidth(field) * characterWidth_;
  });
}

QVariant AnswerModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.column() >= static_cast<int>(columns().size()))
    return grid::GridModel::data(index, role);
  const grid::GridColumn& column = columns().at(static_cast<size_t>(index.column()));
  const int grouping = codes_.TipoRaggruppamento(column.field);
  if (grouping == 0 || !engine::groupsDigits(column.type))
    return grid::GridModel::data(index, role);
  switch (role) {
    case Qt::DisplayRole:
      return engine::groupedCellText(source()->value(index.row(), column.field), column.type,
                                     grouping, QLocale());
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    default:
      return grid::GridModel::data(index, role);
  }
}

QVariant AnswerModel::headerData(int section, Qt::Orientation orientation, int role) const {
  const QVariant title = grid::GridModel::headerData(section, orientation, role);
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole ||
      section >= static_cast<int>(columns().size()))
    return title;
  const int characters = columns().at(static_cast<size_t>(section)).width / characterWidth_;
  const QString text = title.toString();
  return characters < text.size() ? QVariant(text.left(std::max(characters, 1))) : title;
}

}  // namespace query::designer
