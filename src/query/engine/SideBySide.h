#pragma once

#include <QList>
#include <QStringList>

#include "query/engine/Statement.h"

// A side-by-side query: the parts of the rows, each a SELECT, joined by UNION.
namespace query::engine {

// A part of the rows, positions counted from 1, both included.
struct Segment {
  int first = 0;
  int last = 0;

  friend bool operator==(const Segment&, const Segment&) = default;
};

// The parts: each ends at a lock row (the first part's lock row, or the row
// that closes a later part). The next part starts at the row after it, or one
// further when that row is a header (the part header the side-by-side
// command writes). Rows after the last lock row belong to no part.
QList<Segment> sideBySideSegments(const QList<model::Row>& rows);

// The rows with every join-header copy of a later part (named "UNION", kind
// 9, no join option) given the Nome and join option of the header at the
// same place in the first part, so each part joins the tables the first does.
QList<model::Row> withPartHeadersResolved(const QList<model::Row>& rows,
                                          const QList<Segment>& segments);

// The parts' statements in order, a line "UNION" between two.
QStringList joinWithUnion(const QList<QStringList>& parts);

// The whole side-by-side statement: one SELECT per part, joined by UNION.
Statement buildSideBySide(const QList<model::Row>& rows, const QString& mainTable,
                          const FieldTypeLookup& fieldType);

}  // namespace query::engine
