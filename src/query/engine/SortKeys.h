#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "query/model/AnswerCodes.h"

namespace db {
class Query;
}

namespace query::engine {

class QueryEngine;

// Sort lines name the answer's columns by number, one key a line, every key
// but the last followed by ", ". A descending sort puts "DESCENDING" after
// every key, so that all keys run the same way and not only the last one.
QStringList sortLinesFor(const QList<int>& codes);

// The statement without the sort lines that end it: lines are taken off the
// end up to and including the last one holding "ORDER BY"; a statement
// without such a line loses every line.
QStringList withoutSortLines(QStringList lines);

// What the sort keys of the answer's column codes (column 0 first) make of
// its statement, given whether the statement now ends with sort lines.
// `baseOrder` is the order an answer keeps without sort keys (the sort lines
// of an answer presenting a local table's rows in that table's order); an
// ordinary answer has none.
struct SortKeyOutcome {
  bool reopen = false;     // false: the answer stays as it is
  QStringList lines;       // the statement to reopen the answer with
  bool sortLines = false;  // whether those lines end with sort lines
};
SortKeyOutcome sortKeyRule(const QStringList& lines, const QList<int>& codes, bool sortLines,
                           const QStringList& baseOrder = {});

// The codes of the answer's columns, column 0 first.
QList<int> columnCodes(const model::AnswerCodes& codes, int columnCount);

// Applies the sort keys to an open answer: closes it, replaces its sort
// lines and reopens it. On success the switch follows the new lines and the
// result is empty; when the database refuses the statement the answer stays
// closed holding it, the switch is left as it was and the database's text is
// returned.
QString applySortKeys(db::Query& answer, const model::AnswerCodes& codes, bool& sortLines,
                      const QStringList& baseOrder = {});
// The same with the engine's codes, switch and base order.
QString applySortKeys(db::Query& answer, QueryEngine& engine);

}  // namespace query::engine
