#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "query/engine/DeterminaTipoCampo.h"
#include "query/model/Row.h"

namespace query::engine {

// A generated statement, line by line as the answer query holds it.
struct Statement {
  QStringList lines;
  // A computed column calls SOMMAPROG or INTEROQUOV: it is left out of the
  // statement and computed by the procedural post-steps once the answer is open.
  bool postSteps = false;
};

// The SELECT statement of the rows at positions first to last (counted from
// 1, both included) over the main table, aliased XX. Shown fields and
// computed columns make the SELECT list, join headers and their keys the
// nested LEFT / RIGHT JOINs, the other conditions the WHERE, and an aggregate
// beside plain columns the GROUP BY. Nothing is checked: malformed
// conditions give a statement the database refuses.
Statement buildStatement(const QList<model::Row>& rows, int first, int last,
                         const QString& mainTable, const FieldTypeLookup& fieldType);

}  // namespace query::engine
