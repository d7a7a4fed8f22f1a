#include "query/designer/ChartTable.h"

#include <QLocale>

#include "db/DataSet.h"
#include "db/DbError.h"
#include "grid/GridModel.h"
#include "platform/localstore/LocalTableState.h"
#include "query/designer/ChartRequest.h"

namespace query::designer {

namespace {

using platform::localstore::ColumnType;
using platform::localstore::LocalColumns;

const LocalColumns kColumns{{QStringLiteral("Descrizione1"), ColumnType::Text, kChartTextSize},
                            {QStringLiteral("Descrizione2"), ColumnType::Text, kChartTextSize},
                            {QStringLiteral("Valore"), ColumnType::Float}};

QString chartDirectory(const QString& baseDirectory) {
  const bool separated = baseDirectory.isEmpty() || baseDirectory.endsWith(QLatin1Char('\\'));
  return baseDirectory + (separated ? QString() : QStringLiteral("\\")) +
         QStringLiteral("QUERY\\RISPTMP\\GRAFTMP");
}

// A value as the chart's number: empty stays empty; text must read as a
// number in the machine's format or with a decimal point.
bool toNumber(const QVariant& value, QVariant& number) {
  if (value.isNull() || !value.isValid()) {
    number = QVariant();
    return true;
  }
  bool ok = false;
  double result = 0;
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
      result = value.toDouble(&ok);
      break;
    case QMetaType::QString:
      result = QLocale().toDouble(value.toString().trimmed(), &ok);
      if (!ok) result = value.toString().trimmed().toDouble(&ok);
      break;
    default:
      break;
  }
  if (ok) number = result;
  return ok;
}

}  // namespace

const QString ChartTable::kNome = QStringLiteral("GRAFTMP.DB");

ChartTable::ChartTable(const QString& baseDirectory)
    : table_(chartDirectory(baseDirectory), kNome) {}

ChartTable::~ChartTable() {
  dropAlternative();
}

void ChartTable::dropAlternative() {
  platform::localstore::dropAlternativeTable(table_, kNome);
}

bool ChartTable::fill(db::DataSet& answer, const ChartRequest& request, QString& error) {
  namespace store = platform::localstore;
  // A table taken under another name by an earlier fill goes first.
  dropAlternative();
  table_.setName(kNome);
  if (!table_.exists() && !store::createWorkDirectory(table_.directory())) {
    error = QStringLiteral("Impossibile creare la directory %1").arg(table_.directory());
    return false;
  }
  table_.setColumns(kColumns);
  table_.setIndexFields({});
  if (!store::takeFreeTable(table_)) {
    error = table_.lastError();
    table_.close();
    return false;
  }
  used_ = true;

  QList<int> columns{answer.fieldIndex(request.valueColumn)};
  for (const QString& series : request.series) columns << answer.fieldIndex(series);
  const int x = answer.fieldIndex(request.xColumn);
  const QStringList names = QStringList{request.valueColumn} + request.series;
  for (qsizetype i = -1; i < names.size(); ++i) {
    if ((i < 0 ? x : columns[i]) >= 0) continue;
    error =
        QStringLiteral("La risposta non ha il campo %1").arg(i < 0 ? request.xColumn : names[i]);
    table_.close();
    return false;
  }
  try {
    while (answer.canFetchMore()) answer.fetchMore(1024);
  } catch (const db::DbError& failure) {
    error = failure.text();
    table_.close();
    return false;
  }

  const int rows = answer.rowCount();
  const int digits = counterDigits(rows);
  QStringList labels;
  labels.reserve(rows);
  const db::FieldInfo& xField = answer.field(x);
  for (int row = 0; row < rows; ++row)
    labels << grid::GridModel::displayText(answer.value(row, x), xField);
  // All the points or none: a failure rolls the batch back and leaves the
  // table as emptied above.
  if (!table_.beginBatch()) {
    error = table_.lastError();
    table_.close();
    return false;
  }
  for (qsizetype s = 0; s < columns.size(); ++s) {
    const QString seriesName = names[s].left(kChartTextSize);
    for (int row = 0; row < rows; ++row) {
      const QVariant value = answer.value(row, columns[s]);
      QVariant number;
      if (!toNumber(value, number)) {
        error = QStringLiteral(
                    "Il valore \"%1\" del campo %2 alla riga %3 non è un numero: il "
                    "grafico non è stato creato")
                    .arg(value.toString(), names[s])
                    .arg(row + 1);
        table_.close();
        return false;
      }
      const QString label = chartLabel(labels[row], request.originale ? row + 1 : 0, digits);
      if (!table_.append({label, seriesName, number})) {
        error = table_.lastError();
        table_.close();
        return false;
      }
    }
  }
  const bool written = table_.commitBatch();
  if (!written) error = table_.lastError();
  table_.close();
  return written;
}

}  // namespace query::designer
