#pragma once

#include <QColor>
#include <QList>

namespace platform::crystal {

// How a chart report draws its points.
enum class ChartType {
  Bar,      // bars side by side, one per series
  Stacked,  // the series' bars stacked on each other
  Percent,  // stacked bars, each category's stack filling 100 %
  Line,     // one line per series
  Area,     // one area per series, stacked on each other
  Pie,      // one pie per series, a slice per category
};

// The direction in which the x axis (the points' labels) runs.
enum class Orientation { Horizontal, Vertical };

// The sizes of the pies when there are several series.
enum class PieSizes { Fixed, Proportional };

struct ChartDefinition {
  ChartType type = ChartType::Bar;
  Orientation orientation = Orientation::Horizontal;
  bool look3d = false;  // bars shaded as solids with a drop shadow
  PieSizes pieSizes = PieSizes::Fixed;
  // The series' colours in order (a pie's slices take them in order);
  // repeated from the first when there are more series.
  QList<QColor> colors;

  // The colour of series (or slice) `index`.
  QColor color(int index) const;
};

}  // namespace platform::crystal
