#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>
#include <memory>

#include "platform/crystal/ChartBuilder.h"

class QChart;
class QGraphicsScene;
class QPainter;
class QPrinter;
class QRectF;

namespace platform::crystal {

// What a chart report drew: its definition, points and texts, from which a
// chart can be built again at any size (a window, an image, a page).
struct ChartContent {
  ChartDefinition definition;
  ChartPoints points;
  ChartTexts texts;
};

// A chart drawn off screen at a given size in pixels, in a scene of its own,
// for images, PDF files and printers. Needs a QApplication.
class ChartDrawing {
 public:
  ChartDrawing(const ChartContent& content, const QSizeF& size);
  ~ChartDrawing();
  ChartDrawing(const ChartDrawing&) = delete;
  ChartDrawing& operator=(const ChartDrawing&) = delete;

  QChart* chart() const { return chart_; }
  // Paints the chart into `target`, scaled to it.
  void paint(QPainter& painter, const QRectF& target);
  // The chart on white, at its size.
  QImage image();

 private:
  std::unique_ptr<QGraphicsScene> scene_;
  QChart* chart_;
  QSizeF size_;
};

// The size of a chart written to a file for batch use.
inline constexpr int kFileChartWidth = 1000;
inline constexpr int kFileChartHeight = 620;

// Writes the chart to a file, a PNG image or a PDF document as the
// extension says (.png, .pdf, in any case), whole or not at all: a failure
// leaves an older file of that name as it was. `path` is native. False with
// `error` set.
bool saveChart(const ChartContent& content, const QString& path, const QSizeF& size,
               QString& error);

// Prints the chart on one page of the printer, as large as the page allows
// with its proportions kept. False when the printer could not be started.
bool printChart(const ChartContent& content, QPrinter& printer, const QSizeF& size);

}  // namespace platform::crystal
