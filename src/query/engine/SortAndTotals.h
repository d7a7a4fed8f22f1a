#pragma once

#include <QList>
#include <QString>

#include "db/FieldType.h"
#include "query/model/AnswerCodes.h"

namespace query::engine {

// A sort key holds at most this many columns.
constexpr int kMaxSortKeys = 31;

// Whether one more column may join a sort key that already holds `keys`.
inline bool canAddSortKey(int keys) {
  return keys < kMaxSortKeys;
}

// The column types a total or a sum is offered for: small integer,
// integer, float, currency and BCD.
bool summable(db::FieldType type);

// An answer column as the sort-keys-and-totals choice lists it: its
// position (from 0) and name.
struct ChoiceColumn {
  int column = 0;
  QString name;

  friend bool operator==(const ChoiceColumn&, const ChoiceColumn&) = default;
};

// The four lists the choice starts with and its direction.
struct SortAndTotals {
  QList<ChoiceColumn> available;  // not sort keys, nor blob, memo or graphic
  QList<ChoiceColumn> keys;       // the sort keys in sort-position order
  QList<ChoiceColumn> numeric;    // numeric columns without total
  QList<ChoiceColumn> totals;     // columns with a total
  bool descending = false;        // any column sorts descending
};

// The lists for the answer's columns (name and type each, in column order).
SortAndTotals sortAndTotalsLists(const QList<db::FieldInfo>& fields,
                                 const model::AnswerCodes& codes);

// Rewrites the code of every one of the answer's columns from the chosen
// lists: a column at place n (from 1) of `keys` gets the direction and sort
// position n, any other none; a column in `totals` gets the total, any
// other none; the digit grouping stays. Columns are matched by position,
// so two columns of the same name keep apart.
void rewriteCodes(model::AnswerCodes& codes, int columnCount, const QList<int>& keys,
                  const QList<int>& totals, bool descending);

}  // namespace query::engine
