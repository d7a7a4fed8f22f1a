#pragma once

#include <QString>

#include "platform/crystal/ChartDefinition.h"
#include "platform/crystal/ChartPoints.h"

class QChart;

namespace platform::crystal {

// The texts a chart report shows, as its formulas give them: the title, the
// x and value axes' descriptions and the series' description. Blank texts
// are not shown.
struct ChartTexts {
  QString title;
  QString xAxis;
  QString yAxis;
  QString zAxis;
};

// At most this many point labels are written along the x axis, fewer when
// the chart is small; with more points every n-th one is, so that they stay
// readable.
inline constexpr int kMaxAxisLabels = 40;

// Builds the chart a report draws: its type, orientation, look and colours
// from the definition, its points and texts. The caller owns the chart and
// puts it in a view or a scene; nothing is animated.
//
// The x axis (the points' labels, first at the left or at the top) runs in
// the definition's orientation and the value axis across it. Pies have no
// axes: one pie per series, side by side, each named below, the slices in
// the order of the labels and with the definition's colours; negative values
// have no slice; the legend names the labels when there are at most
// kMaxAxisLabels. The series' description stands above the legend.
QChart* buildChart(const ChartDefinition& definition, const ChartPoints& points,
                   const ChartTexts& texts);

}  // namespace platform::crystal
