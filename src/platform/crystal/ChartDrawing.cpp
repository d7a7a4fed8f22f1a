#include "platform/crystal/ChartDrawing.h"

#include <QBuffer>
#include <QChart>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "core/OutputFile.h"

namespace platform::crystal {

ChartDrawing::ChartDrawing(const ChartContent& content, const QSizeF& size)
    : scene_(std::make_unique<QGraphicsScene>()),
      chart_(buildChart(content.definition, content.points, content.texts)),
      size_(size) {
  scene_->addItem(chart_);  // the scene owns the chart
  chart_->setGeometry(QRectF(QPointF(0, 0), size));
  chart_->layout()->activate();
  scene_->setSceneRect(QRectF(QPointF(0, 0), size));
}

ChartDrawing::~ChartDrawing() = default;

void ChartDrawing::paint(QPainter& painter, const QRectF& target) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  scene_->render(&painter, target, QRectF(QPointF(0, 0), size_), Qt::KeepAspectRatio);
}

QImage ChartDrawing::image() {
  QImage image(size_.toSize(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  paint(painter, QRectF(QPointF(0, 0), size_));
  return image;
}

bool saveChart(const ChartContent& content, const QString& path, const QSizeF& size,
               QString& error) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix != QLatin1String("png") && suffix != QLatin1String("pdf")) {
    error = QStringLiteral("%1: il grafico si salva come immagine .png o documento .pdf").arg(path);
    return false;
  }
  ChartDrawing drawing(content, size);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (suffix == QLatin1String("png")) {
    if (!drawing.image().save(&buffer, "PNG")) {
      error = QStringLiteral("%1: impossibile comporre l'immagine").arg(path);
      return false;
    }
  } else {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(96);
    pdf.setPageSize(QPageSize(size, QPageSize::Point));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&pdf);
    drawing.paint(painter, QRectF(QPointF(0, 0), QSizeF(pdf.width(), pdf.height())));
    painter.end();
  }
  core::OutputFile file(path);
  if (!file.open() || !file.write(buffer.data()) || !file.commit()) {
    error = QStringLiteral("Impossibile scrivere %1: %2").arg(path, file.error());
    return false;
  }
  return true;
}

bool printChart(const ChartContent& content, QPrinter& printer, const QSizeF& size) {
  ChartDrawing drawing(content, size);
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  drawing.paint(painter, QRectF(QPointF(0, 0), QSizeF(page.size())));
  return painter.end();
}

}  // namespace platform::crystal
