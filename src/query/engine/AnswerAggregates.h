#pragma once

namespace db {
class Query;
}

namespace query::engine {

// Figures over the whole of an open answer, computed without fetching its
// rows into the answer (which keeps its current row and what it holds).
// The database computes them over the answer's statement as a derived
// table, in the answer's transaction; when it refuses that statement the
// rows are walked one at a time by a forward-only copy of the answer.
// Both throw db::DbError when the answer's statement itself fails.

// The sum of a column (position from 0); 0 for an empty answer or a column
// of nulls.
double sumColumn(db::Query& answer, int column);

// How many rows the answer has.
long long countRows(db::Query& answer);

}  // namespace query::engine
