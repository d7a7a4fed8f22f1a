#include "platform/crystal/ChartPoints.h"

#include <QHash>
#include <algorithm>

namespace platform::crystal {

namespace {

int columnNamed(const localstore::LocalColumns& columns, const QString& name) {
  for (qsizetype i = 0; i < columns.size(); ++i)
    if (columns[i].name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}

}  // namespace

double ChartPoints::seriesTotal(int series) const {
  double total = 0;
  for (double value : values.value(series)) total += value;
  return total;
}

bool chartPoints(const localstore::LocalColumns& columns, const QList<QVariantList>& rows,
                 ChartPoints& points, QString& error) {
  points = ChartPoints{};
  const int label = columnNamed(columns, QStringLiteral("Descrizione1"));
  const int series = columnNamed(columns, QStringLiteral("Descrizione2"));
  const int value = columnNamed(columns, QStringLiteral("Valore"));
  for (const auto& [at, name] : {std::pair{label, "Descrizione1"},
                                 std::pair{series, "Descrizione2"}, std::pair{value, "Valore"}}) {
    if (at < 0) {
      error =
          QStringLiteral("la tabella del grafico non ha la colonna %1").arg(QLatin1String(name));
      return false;
    }
  }
  QHash<QString, int> seriesIndex;
  QStringList labels;
  QHash<QString, int> labelIndex;
  for (const QVariantList& row : rows) {
    const QString name = row.value(series).toString();
    if (!seriesIndex.contains(name)) {
      seriesIndex.insert(name, static_cast<int>(points.series.size()));
      points.series.append(name);
    }
    const QString text = row.value(label).toString();
    if (!labelIndex.contains(text)) {
      labelIndex.insert(text, 0);
      labels.append(text);
    }
  }
  std::sort(labels.begin(), labels.end(), [](const QString& a, const QString& b) {
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
  });
  for (qsizetype i = 0; i < labels.size(); ++i) labelIndex[labels[i]] = static_cast<int>(i);
  points.categories = labels;
  points.values = QList<QList<double>>(points.series.size(), QList<double>(labels.size(), 0.0));
  for (const QVariantList& row : rows)
    points.values[seriesIndex.value(row.value(series).toString())]
                 [labelIndex.value(row.value(label).toString())] += row.value(value).toDouble();
  return true;
}

}  // namespace platform::crystal
