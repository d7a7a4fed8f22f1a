#include "platform/crystal/ChartBuilder.h"

#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsSimpleTextItem>
#include <QHorizontalBarSeries>
#include <QHorizontalPercentBarSeries>
#include <QHorizontalStackedBarSeries>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLinearGradient>
#include <QPercentBarSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <memory>

namespace platform::crystal {

namespace {

bool blank(const QString& text) {
  return text.trimmed().isEmpty();
}

bool vertical(const ChartDefinition& definition) {
  return definition.orientation == Orientation::Vertical;
}

// Writes every step-th label on the axis, category i at value i.
void writeLabels(QCategoryAxis* axis, const QStringList& labels, int step) {
  for (const QString& label : axis->categoriesLabels()) axis->remove(label);
  for (qsizetype i = 0; i < labels.size(); i += step) axis->append(labels[i], double(i));
}

// The axis of the points' labels: category i stands at value i. With more
// labels than fit the chart's size, every n-th one is written: they stay a
// line and a half apart, and at most kMaxAxisLabels are written.
QCategoryAxis* labelAxis(QChart* chart, const ChartPoints& points, const ChartTexts& texts,
                         bool isVertical) {
  auto* axis = new QCategoryAxis;
  const int count = static_cast<int>(points.categories.size());
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  axis->setStartValue(-0.5);
  axis->setRange(-0.5, std::max(count, 1) - 0.5);
  axis->setGridLineVisible(false);
  // Many labels stand upright, beside each other.
  if (!isVertical && count > 8) axis->setLabelsAngle(-90);
  // The first label at the top, as it is read.
  axis->setReverse(isVertical);
  if (!blank(texts.xAxis)) axis->setTitleText(texts.xAxis.trimmed());
  const QStringList labels = points.categories;
  auto step = std::make_shared<int>(0);
  const auto fit = [=](const QSizeF& size) {
    // The plot takes about two thirds of the chart.
    const double length = (isVertical ? size.height() : size.width()) * 0.66;
    const double spacing = QFontMetricsF(axis->labelsFont()).height() * 1.5;
    const int fitting = std::clamp(static_cast<int>(length / spacing), 1, kMaxAxisLabels);
    const int wanted = std::max(1, (count + fitting - 1) / fitting);
    if (wanted == *step) return;
    *step = wanted;
    writeLabels(axis, labels, wanted);
  };
  fit(QSizeF(kMaxAxisLabels * 40, kMaxAxisLabels * 40));
  QObject::connect(chart, &QGraphicsWidget::geometryChanged, axis,
                   [chart, fit] { fit(chart->size()); });
  return axis;
}

QValueAxis* valueAxis(const ChartTexts& texts, bool percent) {
  auto* axis = new QValueAxis;
  if (percent) {
    axis->setRange(0, 100);
    axis->setLabelFormat(QStringLiteral("%.0f %%"));
  }
  if (!blank(texts.yAxis)) axis->setTitleText(texts.yAxis.trimmed());
  return axis;
}

// Puts the label axis and the value axis on their sides and attaches them.
void attachAxes(QChart* chart, QAbstractSeries* series, QAbstractAxis* labels, QValueAxis* values,
                bool isVertical) {
  if (!chart->axes(Qt::Horizontal).contains(labels) &&
      !chart->axes(Qt::Vertical).contains(labels)) {
    chart->addAxis(labels, isVertical ? Qt::AlignLeft : Qt::AlignBottom);
    chart->addAxis(values, isVertical ? Qt::AlignBottom : Qt::AlignLeft);
  }
  series->attachAxis(labels);
  series->attachAxis(values);
}

QBrush barBrush(const QColor& color, bool look3d, bool isVertical) {
  if (!look3d) return color;
  // Lit from the left (from the top for bars lying down), shaded away.
  QLinearGradient gradient(0, 0, isVertical ? 0 : 1, isVertical ? 1 : 0);
  gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
  gradient.setColorAt(0, color.lighter(150));
  gradient.setColorAt(0.45, color);
  gradient.setColorAt(1, color.darker(170));
  return gradient;
}

QAbstractBarSeries* barSeries(ChartType type, bool isVertical) {
  switch (type) {
    case ChartType::Stacked:
      return isVertical ? static_cast<QAbstractBarSeries*>(new QHorizontalStackedBarSeries)
                        : new QStackedBarSeries;
    case ChartType::Percent:
      return isVertical ? static_cast<QAbstractBarSeries*>(new QHorizontalPercentBarSeries)
                        : new QPercentBarSeries;
    default:
      return isVertical ? static_cast<QAbstractBarSeries*>(new QHorizontalBarSeries)
                        : new QBarSeries;
  }
}

void addBars(QChart* chart, const ChartDefinition& definition, const ChartPoints& points,
             const ChartTexts& texts) {
  const bool isVertical = vertical(definition);
  QAbstractBarSeries* series = barSeries(definition.type, isVertical);
  series->setBarWidth(0.8);
  for (qsizetype s = 0; s < points.series.size(); ++s) {
    auto* set = new QBarSet(points.series[s]);
    const QColor color = definition.color(static_cast<int>(s));
    set->setBrush(barBrush(color, definition.look3d, isVertical));
    set->setPen(definition.look3d ? QPen(color.darker(200), 1) : QPen(Qt::NoPen));
    set->append(points.values[s]);
    series->append(set);
  }
  chart->addSeries(series);
  attachAxes(chart, series, labelAxis(chart, points, texts, isVertical),
             valueAxis(texts, definition.type == ChartType::Percent), isVertical);
}

QPointF at(qsizetype category, double value, bool isVertical) {
  return isVertical ? QPointF(value, double(category)) : QPointF(double(category), value);
}

void addLines(QChart* chart, const ChartDefinition& definition, const ChartPoints& points,
              const ChartTexts& texts) {
  const bool isVertical = vertical(definition);
  QCategoryAxis* labels = labelAxis(chart, points, texts, isVertical);
  QValueAxis* values = valueAxis(texts, false);
  for (qsizetype s = 0; s < points.series.size(); ++s) {
    auto* line = new QLineSeries;
    line->setName(points.series[s]);
    line->setPen(QPen(definition.color(static_cast<int>(s)), 2.5));
    QList<QPointF> shape;
    shape.reserve(points.categories.size());
    for (qsizetype c = 0; c < points.categories.size(); ++c)
      shape.append(at(c, points.values[s][c], isVertical));
    line->replace(shape);
    chart->addSeries(line);
    attachAxes(chart, line, labels, values, isVertical);
  }
  values->applyNiceNumbers();
}

void addAreas(QChart* chart, const ChartDefinition& definition, const ChartPoints& points,
              const ChartTexts& texts) {
  const bool isVertical = vertical(definition);
  QCategoryAxis* labels = labelAxis(chart, points, texts, isVertical);
  QValueAxis* values = valueAxis(texts, false);
  QList<double> base(points.categories.size(), 0.0);
  double low = 0;
  double high = 0;
  QLineSeries* lower = nullptr;
  for (qsizetype s = 0; s < points.series.size(); ++s) {
    auto* upper = new QLineSeries;
    QList<QPointF> shape;
    for (qsizetype c = 0; c < points.categories.size(); ++c) {
      base[c] += points.values[s][c];
      low = std::min(low, base[c]);
      high = std::max(high, base[c]);
      shape.append(at(c, base[c], isVertical));
    }
    upper->replace(shape);
    auto* area = new QAreaSeries(upper, lower);
    upper->setParent(area);
    area->setName(points.series[s]);
    const QColor color = definition.color(static_cast<int>(s));
    area->setBrush(color);
    area->setPen(QPen(color.darker(150), 1));
    chart->addSeries(area);
    attachAxes(chart, area, labels, values, isVertical);
    // The next area lies on this one: a copy of its upper edge, which the
    // area owns.
    lower = new QLineSeries(area);
    lower->replace(shape);
  }
  values->setRange(low, high > low ? high : low + 1);
  values->applyNiceNumbers();
}

void addPies(QChart* chart, const ChartDefinition& definition, const ChartPoints& points) {
  const int count = static_cast<int>(points.series.size());
  double largest = 0;
  for (int s = 0; s < count; ++s) largest = std::max(largest, points.seriesTotal(s));
  QList<QPieSeries*> pies;
  QList<double> scale;
  QList<QGraphicsSimpleTextItem*> names;
  for (int s = 0; s < count; ++s) {
    auto* pie = new QPieSeries;
    pie->setName(points.series[s]);
    for (qsizetype c = 0; c < points.categories.size(); ++c) {
      const double value = points.values[s][c];
      if (!(value > 0)) continue;
      QPieSlice* slice = pie->append(points.categories[c], value);
      slice->setBrush(definition.color(static_cast<int>(c)));
      slice->setPen(QPen(Qt::white, 1));
    }
    pie->setHorizontalPosition((s + 0.5) / count);
    chart->addSeries(pie);
    pies.append(pie);
    const bool proportional = definition.pieSizes == PieSizes::Proportional && largest > 0;
    // The area of a proportional pie follows its total.
    scale.append(proportional ? std::sqrt(std::max(0.0, points.seriesTotal(s)) / largest) : 1.0);
    if (count > 1) names.append(new QGraphicsSimpleTextItem(points.series[s], chart));
  }
  // The legend names each label once; with more labels than it can show
  // it is left out.
  if (points.categories.size() > kMaxAxisLabels) chart->legend()->hide();
  for (int s = 1; s < count; ++s)
    for (QLegendMarker* marker : chart->legend()->markers(pies[s])) marker->setVisible(false);
  // Side by side the pies share the plot's width.
  QObject::connect(chart, &QChart::plotAreaChanged, chart, [=](const QRectF& plot) {
    if (plot.isEmpty()) return;
    const double side = std::min(plot.width(), plot.height());
    const double fits = std::min(0.9, 0.9 * plot.width() / count / side);
    for (int s = 0; s < count; ++s) {
      pies[s]->setPieSize(fits * scale[s]);
      if (names.isEmpty()) continue;
      const QRectF box = names[s]->boundingRect();
      names[s]->setPos(plot.left() + plot.width() * (s + 0.5) / count - box.width() / 2,
                       plot.center().y() + fits * side / 2 + 4);
    }
  });
}

}  // namespace

QChart* buildChart(const ChartDefinition& definition, const ChartPoints& points,
                   const ChartTexts& texts) {
  auto* chart = new QChart;
  chart->setAnimationOptions(QChart::NoAnimation);
  chart->setBackgroundRoundness(0);
  chart->setDropShadowEnabled(definition.look3d);
  if (!blank(texts.title)) {
    chart->setTitle(texts.title.trimmed());
    QFont font = chart->titleFont();
    font.setPointSizeF(font.pointSizeF() * 1.3);
    font.setBold(true);
    chart->setTitleFont(font);
  }
  chart->legend()->setAlignment(Qt::AlignRight);
  switch (definition.type) {
    case ChartType::Bar:
    case ChartType::Stacked:
    case ChartType::Percent:
      addBars(chart, definition, points, texts);
      break;
    case ChartType::Line:
      addLines(chart, definition, points, texts);
      break;
    case ChartType::Area:
      addAreas(chart, definition, points, texts);
      break;
    case ChartType::Pie:
      addPies(chart, definition, points);
      break;
  }
  if (!blank(texts.zAxis)) {
    auto* caption = new QGraphicsSimpleTextItem(texts.zAxis.trimmed(), chart);
    QFont font = caption->font();
    font.setBold(true);
    caption->setFont(font);
    QLegend* legend = chart->legend();
    const auto place = [chart, legend, caption] {
      const QRectF box = legend->geometry();
      const double height = caption->boundingRect().height();
      caption->setPos(std::max(0.0, std::min(box.left(), chart->size().width() -
                                                             caption->boundingRect().width() - 4)),
                      box.top() - height - 2);
    };
    QObject::connect(legend, &QGraphicsWidget::geometryChanged, chart, place);
  }
  return chart;
}

}  // namespace platform::crystal
