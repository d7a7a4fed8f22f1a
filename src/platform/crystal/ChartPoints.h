#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include "platform/localstore/LocalColumn.h"

namespace platform::crystal {

// The points of a chart as its report draws them, read from the chart
// table (columns Descrizione1: the point's label, Descrizione2: its
// series, Valore: its value). The labels are sorted in ascending order, as
// the report groups them; the series keep the order in which they first
// appear. Points of the same label and series add up; an empty value
// counts 0.
struct ChartPoints {
  QStringList categories;
  QStringList series;
  // values[series][category]
  QList<QList<double>> values;

  bool isEmpty() const { return categories.isEmpty(); }
  // The sum of one series' values.
  double seriesTotal(int series) const;
};

// The points of the chart table's rows; false with `error` when a column
// is missing.
bool chartPoints(const localstore::LocalColumns& columns, const QList<QVariantList>& rows,
                 ChartPoints& points, QString& error);

}  // namespace platform::crystal
