#include "query/engine/SortAndTotals.h"

#include <map>

namespace query::engine {

namespace {

bool sortable(db::FieldType type) {
  using T = db::FieldType;
  return type != T::Blob && type != T::Memo && type != T::FmtMemo && type != T::Graphic;
}

}  // namespace

bool summable(db::FieldType type) {
  using T = db::FieldType;
  return type == T::SmallInt || type == T::Integer || type == T::Float || type == T::Currency ||
         type == T::Bcd;
}

SortAndTotals sortAndTotalsLists(const QList<db::FieldInfo>& fields,
                                 const model::AnswerCodes& codes) {
  using model::AnswerCodes;
  SortAndTotals lists;
  // Sort position to column; a later column with a taken position wins, as
  // in the sort lines.
  std::map<int, ChoiceColumn> keys;
  for (int column = 0; column < fields.size(); ++column) {
    const db::FieldInfo& field = fields[column];
    const int code = codes.code(column);
    const ChoiceColumn entry{column, field.name};
    if (AnswerCodes::isDescending(code)) lists.descending = true;
    if (AnswerCodes::isSortKey(code))
      keys[AnswerCodes::EstraiPosizioneOrdinamento(code)] = entry;
    else if (sortable(field.type))
      lists.available << entry;
    if (codes.ControlloSuTotali(column))
      lists.totals << entry;
    else if (summable(field.type))
      lists.numeric << entry;
  }
  for (const auto& [position, entry] : keys) lists.keys << entry;
  return lists;
}

void rewriteCodes(model::AnswerCodes& codes, int columnCount, const QList<int>& keys,
                  const QList<int>& totals, bool descending) {
  for (int column = 0; column < columnCount; ++column) {
    const qsizetype place = keys.indexOf(column);
    int code = codes.TipoRaggruppamento(column);
    if (totals.contains(column)) code += 10;
    if (place >= 0 && place < kMaxSortKeys)
      code += static_cast<int>(place + 1) * 100 + (descending ? 10000 : 0);
    codes.setCode(column, code);
  }
}

}  // namespace query::engine
