#pragma once

#include <QList>
#include <QString>
#include <QVariantList>
#include <vector>

#include "platform/localstore/LocalColumn.h"
#include "query/engine/ProceduralFunctions.h"

namespace query::engine {

// The result columns of the procedural formulas, computed row by row as the
// answer is copied: SOMMAPROG's running total of its field, INTEROQUOV's
// integer part of its field. The result columns follow the answer's own
// columns, one per formula in order; a formula may read the result of one
// before it.
class ProceduralColumns {
 public:
  // Finds each formula's field among the columns (letter case ignored).
  // False with "Campo '…' non trovato" in `failure` for the first missing.
  bool bind(const platform::localstore::LocalColumns& columns,
            const QList<ProceduralFormula>& formulas, QString* failure);

  // Fills the result columns of the next row in `values` (one value per
  // column). An empty value adds nothing to a total and has no integer
  // part. False with the message in `failure` when a field holds text that
  // is no number.
  bool compute(QVariantList& values, QString* failure);

 private:
  struct Column {
    ProceduralKind kind;
    QString field;
    int source = -1;
    int result = -1;
    double total = 0.0;
  };
  std::vector<Column> columns_;
};

}  // namespace query::engine
