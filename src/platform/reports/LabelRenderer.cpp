#include "platform/reports/LabelRenderer.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <cmath>

#include "core/Paths.h"
#include "platform/reports/Barcode.h"

namespace platform::reports {

namespace {

constexpr double kMmPerPoint = 25.4 / 72;

// Runs `draw` with the painter's units switched from millimetres to device
// pixels (same origin), passing the pixels per millimetre. Text drawn this
// way is shaped at its real size on the device instead of at a fraction of a
// pixel and then magnified.
template <class Draw>
void inDevicePixels(QPainter& painter, Draw draw) {
  const QTransform millimetres = painter.worldTransform();
  const double perMm = std::sqrt(std::abs(millimetres.determinant()));
  if (perMm <= 0) return;
  painter.save();
  painter.setWorldTransform(QTransform::fromScale(1 / perMm, 1 / perMm) * millimetres);
  draw(perMm);
  painter.restore();
}

QFont deviceFont(const LabelFont& source, double pixels, const QPainter& painter) {
  QFont font(source.family);
  font.setBold(source.bold);
  font.setItalic(source.italic);
  const int dpi = painter.device() ? painter.device()->logicalDpiY() : 72;
  font.setPointSizeF(qMax(pixels, 0.1) * 72.0 / dpi);
  return font;
}

Qt::Alignment horizontal(Alignment alignment) {
  switch (alignment) {
    case Alignment::Left:
      return Qt::AlignLeft;
    case Alignment::Center:
      return Qt::AlignHCenter;
    case Alignment::Right:
      return Qt::AlignRight;
  }
  return Qt::AlignLeft;
}

QString describe(const LabelObject& object, const QString& value) {
  const QString source = object.variable.isEmpty() ? QStringLiteral("testo fisso")
                                                   : QStringLiteral("variabile ") + object.variable;
  return QStringLiteral("%1 (%2) \"%3\"").arg(symbologyCaption(object.symbology), source, value);
}

}  // namespace

LabelRenderer::LabelRenderer(QString projectDir) : projectDir_(std::move(projectDir)) {}

void LabelRenderer::paintLabel(QPainter& painter, const LabelProject& project,
                               const Variables& variables) {
  for (const LabelObject& object : project.objects) paintObject(painter, object, variables);
}

void LabelRenderer::paintObject(QPainter& painter, const LabelObject& object,
                                const Variables& variables) {
  painter.save();
  switch (object.kind) {
    case ObjectKind::Text:
      paintText(painter, object, object.value(variables));
      break;
    case ObjectKind::Barcode:
      paintBarcode(painter, object, object.value(variables));
      break;
    case ObjectKind::Line:
      painter.setPen(QPen(Qt::black, object.thickness, Qt::SolidLine, Qt::FlatCap));
      painter.drawLine(object.rect.topLeft(), object.rect.bottomRight());
      break;
    case ObjectKind::Box:
      painter.setPen(
          QPen(Qt::black, object.thickness, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(object.rect);
      break;
    case ObjectKind::Image:
      paintImage(painter, object);
      break;
  }
  painter.restore();
}

QStringList LabelRenderer::takeProblems() {
  return std::exchange(problems_, {});
}

void LabelRenderer::problem(const QString& text) {
  if (!problems_.contains(text)) problems_ << text;
}

void LabelRenderer::paintText(QPainter& painter, const LabelObject& object, const QString& value) {
  if (value.isEmpty()) return;
  inDevicePixels(painter, [&](double perMm) {
    painter.setFont(deviceFont(object.font, object.font.points * kMmPerPoint * perMm, painter));
    painter.setPen(Qt::black);
    const QRectF box(object.rect.topLeft() * perMm, object.rect.size() * perMm);
    painter.drawText(box, int(horizontal(object.alignment) | Qt::AlignVCenter | Qt::TextSingleLine),
                     value);
  });
}

void LabelRenderer::paintBarcode(QPainter& painter, const LabelObject& object,
                                 const QString& value) {
  const BarcodeDrawing drawing =
      layoutBarcode(object.symbology, value, object.humanReadable, object.rect.size(), object.font);
  if (!drawing.error.isEmpty()) {
    // The label shows what went wrong where the barcode should be, so that a
    // label that cannot be scanned is not mistaken for a good one.
    problem(describe(object, value) + QStringLiteral(": ") + drawing.error);
    LabelObject note = object;
    note.font.points = qMin(object.font.points, 7.0);
    note.alignment = Alignment::Center;
    paintText(painter, note, value + QStringLiteral(" ?"));
    return;
  }
  const QPointF origin = object.rect.topLeft();
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  for (const QRectF& bar : drawing.bars) painter.drawRect(bar.translated(origin));
  if (drawing.texts.isEmpty()) return;
  inDevicePixels(painter, [&](double perMm) {
    painter.setPen(Qt::black);
    for (const BarcodeText& text : drawing.texts) {
      const QFont font = deviceFont(object.font, text.size * perMm, painter);
      painter.setFont(font);
      const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(text.text);
      QPointF anchor = (origin + text.anchor) * perMm;
      if (text.alignment == Qt::AlignHCenter)
        anchor.rx() -= width / 2;
      else if (text.alignment == Qt::AlignRight)
        anchor.rx() -= width;
      painter.drawText(anchor, text.text);
    }
  });
}

void LabelRenderer::paintImage(QPainter& painter, const LabelObject& object) {
  QString path = core::nativePath(object.imageFile);
  if (QDir::isRelativePath(path) && !projectDir_.isEmpty()) path = QDir(projectDir_).filePath(path);
  auto found = images_.find(path);
  if (found == images_.end()) found = images_.insert(path, QImage(path));
  if (found->isNull()) {
    problem(QStringLiteral("Immagine non leggibile: ") + path);
    return;
  }
  // The picture keeps its proportions, centred in the object's box.
  QSizeF size = found->size();
  size.scale(object.rect.size(), Qt::KeepAspectRatio);
  const QRectF target(object.rect.center() - QPointF(size.width() / 2, size.height() / 2), size);
  painter.drawImage(target, *found);
}

}  // namespace platform::reports
