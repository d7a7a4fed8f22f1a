#include "query/engine/AnswerAggregates.h"

#include <QStringList>
#include <functional>

#include "db/DbError.h"
#include "db/Query.h"

namespace query::engine {

namespace {

// "SELECT <what> FROM (<the answer's statement>) DT (C1, ..., Cn)": the
// columns get names of our own, so that unnamed or repeated names of the
// answer do not matter.
QStringList overAnswer(const db::Query& answer, const QString& what) {
  QStringList names;
  for (int column = 1; column <= answer.fieldCount(); ++column)
    names << QStringLiteral("C%1").arg(column);
  QStringList lines{QStringLiteral("SELECT %1 FROM (").arg(what)};
  lines << answer.sql;
  lines << QStringLiteral(") DT (%1)").arg(names.join(QStringLiteral(", ")));
  return lines;
}

// The first value of the statement's single row.
QVariant single(db::Query& answer, const QStringList& lines) {
  db::Query query(answer.database(), answer.transaction());
  query.setRowSource(answer.rowSource());
  query.setForwardOnly(true);
  query.sql = lines;
  query.open();
  return query.isEof() ? QVariant() : query.value(0, 0);
}

// Walks the answer's rows again, one at a time.
void walk(db::Query& answer, const std::function<void(const db::Query&)>& visit) {
  db::Query rows(answer.database(), answer.transaction());
  rows.setRowSource(answer.rowSource());
  rows.setForwardOnly(true);
  rows.sql = answer.sql;
  for (rows.open(); !rows.isEof(); rows.next()) visit(rows);
}

}  // namespace

double sumColumn(db::Query& answer, int column) {
  if (column < 0 || column >= answer.fieldCount()) return 0.0;
  try {
    return single(answer, overAnswer(answer, QStringLiteral("SUM(C%1)").arg(column + 1)))
        .toDouble();
  } catch (const db::DbError& error) {
    // Refused as a derived table (or the sum overflowed): add up row by row.
    if (error.isCancelled()) throw;
  }
  long double sum = 0.0L;
  walk(answer,
       [&](const db::Query& rows) { sum += rows.value(rows.currentRow(), column).toDouble(); });
  return static_cast<double>(sum);
}

long long countRows(db::Query& answer) {
  try {
    return single(answer, overAnswer(answer, QStringLiteral("COUNT(*)"))).toLongLong();
  } catch (const db::DbError& error) {
    // Refused as a derived table: count row by row.
    if (error.isCancelled()) throw;
  }
  long long count = 0;
  walk(answer, [&](const db::Query&) { ++count; });
  return count;
}

}  // namespace query::engine
