#include "query/engine/ProceduralColumns.h"

namespace query::engine {

using platform::localstore::LocalColumns;

namespace {

int columnIndex(const LocalColumns& columns, const QString& field) {
  for (qsizetype i = 0; i < columns.size(); ++i)
    if (columns[i].name.compare(field, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}

}  // namespace

bool ProceduralColumns::bind(const LocalColumns& columns, const QList<ProceduralFormula>& formulas,
                             QString* failure) {
  columns_.clear();
  const int first = static_cast<int>(columns.size() - formulas.size());
  for (qsizetype k = 0; k < formulas.size(); ++k) {
    const int source = columnIndex(columns, formulas[k].campo);
    if (source < 0) {
      *failure = QStringLiteral("Campo '%1' non trovato").arg(formulas[k].campo);
      return false;
    }
    columns_.push_back({formulas[k].kind, formulas[k].campo, source, first + static_cast<int>(k)});
  }
  return true;
}

bool ProceduralColumns::compute(QVariantList& values, QString* failure) {
  // A formula reading a result after its own sees it empty, as on any row.
  for (const Column& column : columns_) values[column.result] = QVariant();
  for (Column& column : columns_) {
    const QVariant& value = values[column.source];
    bool number = true;
    const std::optional<double> read = numericValue(value, &number);
    if (!number) {
      *failure = QStringLiteral("Il campo '%1' contiene un valore non numerico: %2")
                     .arg(column.field, value.toString());
      return false;
    }
    if (column.kind == ProceduralKind::SommaProg) {
      if (read) column.total += *read;
      values[column.result] = column.total;
    } else {
      // The integer part of nothing is nothing.
      values[column.result] = read ? QVariant(integerPart(*read)) : QVariant();
    }
  }
  return true;
}

}  // namespace query::engine
