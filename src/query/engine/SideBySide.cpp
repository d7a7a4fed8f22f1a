#include "query/engine/SideBySide.h"

#include <algorithm>

namespace query::engine {

using model::Row;

QList<Segment> sideBySideSegments(const QList<Row>& rows) {
  QList<Segment> segments;
  qsizetype start = 0;
  for (qsizetype i = 0; i < rows.size(); ++i) {
    if (rows[i].mostra != model::Mostra::Lock) continue;
    segments.append(Segment{static_cast<int>(start + 1), static_cast<int>(i + 1)});
    // The next part starts after the lock row, passing over a part header;
    // scanning goes on after that start.
    start = std::min(i + 1, rows.size() - 1);
    if (model::isJoinHeader(rows[start].mostra)) start = std::min(start + 1, rows.size() - 1);
    i = start;
  }
  return segments;
}

QList<Row> withPartHeadersResolved(const QList<Row>& rows, const QList<Segment>& segments) {
  QList<Row> resolved = rows;
  if (segments.isEmpty()) return resolved;
  const qsizetype firstPart = segments.first().first - 1;
  for (qsizetype s = 1; s < segments.size(); ++s) {
    const qsizetype start = segments[s].first - 1;
    for (qsizetype i = start; i < segments[s].last; ++i) {
      Row& row = resolved[i];
      if (row.mostra != model::Mostra::LeftJoin || row.nome != model::kUnion ||
          !row.condizione.isEmpty())
        continue;
      const qsizetype original = firstPart + (i - start);
      if (original >= segments.first().last || rows[original].mostra != model::Mostra::LeftJoin)
        continue;
      row.nome = rows[original].nome;
      row.condizione = rows[original].condizione;
    }
  }
  return resolved;
}

QStringList joinWithUnion(const QList<QStringList>& parts) {
  QStringList lines;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    if (i > 0) lines.append(model::kUnion);
    lines.append(parts[i]);
  }
  return lines;
}

Statement buildSideBySide(const QList<Row>& rows, const QString& mainTable,
                          const FieldTypeLookup& fieldType) {
  const QList<Segment> segments = sideBySideSegments(rows);
  const QList<Row> resolved = withPartHeadersResolved(rows, segments);
  QList<QStringList> parts;
  Statement statement;
  for (const Segment& segment : segments) {
    Statement part = buildStatement(resolved, segment.first, segment.last, mainTable, fieldType);
    statement.postSteps = statement.postSteps || part.postSteps;
    parts.append(std::move(part.lines));
  }
  statement.lines = joinWithUnion(parts);
  return statement;
}

}  // namespace query::engine
