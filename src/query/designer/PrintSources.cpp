#include "query/designer/PrintSources.h"

#include <algorithm>
#include <memory>

#include "db/Query.h"
#include "grid/GridModel.h"
#include "query/designer/QueryPrint.h"
#include "query/engine/DisplayWidth.h"

namespace query::designer {

engine::PrintSource answerPrintSource(db::Query& answer, const grid::GridColumns& columns,
                                      int characterWidth, const model::AnswerCodes& codes) {
  engine::PrintSource source;
  auto fieldOf = std::make_shared<QList<int>>();
  for (const grid::GridColumn& column : columns) {
    const db::FieldInfo& info = answer.field(column.field);
    source.gridColumns << static_cast<int>(source.fields.size());
    source.fields << engine::PrintField{column.fieldName,
                                        column.caption,
                                        info.type,
                                        info.scale,
                                        column.width / std::max(1, characterWidth),
                                        column.visible,
                                        codes.TipoRaggruppamento(column.field),
                                        codes.ControlloSuTotali(column.field)};
    *fieldOf << column.field;
  }
  db::Query* query = &answer;
  source.count = [query] { return query->recordCount(); };
  source.value = [query, fieldOf](int row, int field) {
    return query->value(row, fieldOf->at(field));
  };
  source.text = [query, fieldOf](int row, int field) {
    const int at = fieldOf->at(field);
    return grid::GridModel::displayText(query->value(row, at), query->field(at));
  };
  return source;
}

engine::PrintSource answerPrintSource(db::Query& answer, const model::AnswerCodes& codes) {
  grid::GridColumns columns;
  for (int i = 0; i < answer.fieldCount(); ++i) {
    const db::FieldInfo& info = answer.field(i);
    grid::GridColumn column;
    column.field = i;
    column.fieldName = info.name;
    column.caption = info.name;
    column.type = info.type;
    column.width = engine::printDisplayWidth(info);
    columns.push_back(column);
  }
  return answerPrintSource(answer, columns, 1, codes);
}

engine::PrintSource recordPrintSource(const QList<model::RecordField>& rows,
                                      const model::AnswerCodes& codes) {
  int longest = 0;
  for (const model::RecordField& row : rows)
    longest = std::max(longest, static_cast<int>(row.dato.size()));
  engine::PrintSource source;
  source.singleRecord = true;
  source.fields << engine::PrintField{QStringLiteral("NomeCampo"),
                                      QStringLiteral("NomeCampo"),
                                      db::FieldType::String,
                                      0,
                                      31,
                                      true,
                                      0,
                                      codes.ControlloSuTotali(1)}
                << engine::PrintField{QStringLiteral("Dato"),
                                      QStringLiteral("Dato"),
                                      db::FieldType::String,
                                      0,
                                      recordValueWidth(longest),
                                      true,
                                      0,
                                      codes.ControlloSuTotali(2)};
  source.gridColumns = {0, 1};
  auto held = std::make_shared<QList<model::RecordField>>(rows);
  source.count = [held] { return static_cast<int>(held->size()); };
  source.text = [held](int row, int field) {
    const model::RecordField& each = held->at(row);
    return field == 0 ? each.nomeCampo : each.dato;
  };
  source.value = [text = source.text](int row, int field) { return QVariant(text(row, field)); };
  return source;
}

}  // namespace query::designer
