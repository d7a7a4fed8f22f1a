#include "query/engine/SortKeys.h"

#include <array>

#include "db/DbError.h"
#include "db/Query.h"
#include "query/engine/QueryEngine.h"

namespace query::engine {

namespace {

// A sort position a column can hold.
constexpr int kSortSlots = 31;

const QString kOrderBy = QStringLiteral("ORDER BY");

}  // namespace

QStringList sortLinesFor(const QList<int>& codes) {
  // Each column's sort position puts its number (counted from 1) into the
  // slot of that position; a later column with the same position wins.
  std::array<int, kSortSlots + 1> columnAt{};
  bool descending = false;
  for (int column = 0; column < codes.size(); ++column) {
    const int code = codes[column];
    if (model::AnswerCodes::isDescending(code)) descending = true;
    if (!model::AnswerCodes::isSortKey(code)) continue;
    const int position = model::AnswerCodes::EstraiPosizioneOrdinamento(code);
    if (position >= 1 && position <= kSortSlots) columnAt[position] = column + 1;
  }
  QStringList keys;
  for (int slot = 1; slot <= kSortSlots; ++slot) {
    if (columnAt[slot] == 0) continue;
    QString key = QString::number(columnAt[slot]);
    if (descending) key += QStringLiteral(" DESCENDING");
    keys << key;
  }
  if (keys.isEmpty()) return {};
  for (int i = 0; i + 1 < keys.size(); ++i) keys[i] += QStringLiteral(", ");
  keys.prepend(kOrderBy);
  return keys;
}

QStringList withoutSortLines(QStringList lines) {
  while (!lines.isEmpty()) {
    const QString last = lines.takeLast();
    if (last.contains(kOrderBy)) break;
  }
  return lines;
}

SortKeyOutcome sortKeyRule(const QStringList& lines, const QList<int>& codes, bool sortLines,
                           const QStringList& baseOrder) {
  QStringList keys = sortLinesFor(codes);
  if (keys.isEmpty()) keys = baseOrder;
  // Without keys the answer is only touched to take old sort lines away.
  if (keys.isEmpty() && !sortLines) return {false, lines, false};
  QStringList statement = sortLines ? withoutSortLines(lines) : lines;
  statement << keys;
  return {true, statement, !keys.isEmpty()};
}

QList<int> columnCodes(const model::AnswerCodes& codes, int columnCount) {
  QList<int> list;
  list.reserve(columnCount);
  for (int column = 0; column < columnCount; ++column) list << codes.code(column);
  return list;
}

QString applySortKeys(db::Query& answer, const model::AnswerCodes& codes, bool& sortLines,
                      const QStringList& baseOrder) {
  const SortKeyOutcome outcome =
      sortKeyRule(answer.sql, columnCodes(codes, answer.fieldCount()), sortLines, baseOrder);
  if (!outcome.reopen) return {};
  answer.close();
  answer.sql = outcome.lines;
  try {
    answer.open();
  } catch (const db::DbError& error) {
    answer.close();
    answer.sql = outcome.lines;
    return error.text();
  }
  sortLines = outcome.sortLines;
  return {};
}

QString applySortKeys(db::Query& answer, QueryEngine& engine) {
  bool sortLines = engine.sortLines();
  const QString error = applySortKeys(answer, engine.codes(), sortLines, engine.answerOrder());
  engine.setSortLines(sortLines);
  return error;
}

}  // namespace query::engine
