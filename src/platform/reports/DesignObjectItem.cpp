#include "platform/reports/DesignObjectItem.h"

#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <cmath>

#include "platform/reports/LabelRenderer.h"

namespace platform::reports {

namespace {

constexpr double kHandleMm = 1.5;
constexpr double kMinimumMm = 1;

double snap(double mm) {
  return std::round(mm * 10) / 10;
}

}  // namespace

DesignObjectItem::DesignObjectItem(DesignItemHost& host, int index) : host_(host), index_(index) {
  setFlags(ItemIsMovable | ItemIsSelectable | ItemIsFocusable | ItemSendsGeometryChanges);
  syncFromObject();
}

void DesignObjectItem::syncFromObject() {
  const QRectF& rect = host_.objectAt(index_).rect;
  prepareGeometryChange();
  size_ = rect.size();
  syncing_ = true;
  setPos(rect.topLeft());
  syncing_ = false;
  update();
}

QRectF DesignObjectItem::handleRect() const {
  const double side = qMin(kHandleMm, qMax(qAbs(size_.width()), qAbs(size_.height())) / 2);
  return QRectF(size_.width() - side / 2, size_.height() - side / 2, side, side);
}

QRectF DesignObjectItem::boundingRect() const {
  const LabelObject& object = host_.objectAt(index_);
  const double margin = qMax(object.thickness, kHandleMm) / 2;
  return QRectF(QPointF(0, 0), size_)
      .normalized()
      .united(handleRect())
      .adjusted(-margin, -margin, margin, margin);
}

void DesignObjectItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
  LabelObject shown = host_.objectAt(index_);
  shown.rect = QRectF(QPointF(0, 0), size_);
  if (shown.showsValue() && shown.value(host_.designVariables()).isEmpty())
    paintPlaceholder(*painter, shown);
  else
    host_.designRenderer().paintObject(*painter, shown, host_.designVariables());
  // The renderer's problems belong to printing; the designer shows the
  // object as it would print and leaves them.
  host_.designRenderer().takeProblems();

  QPen outline(isSelected() ? QColor(0, 90, 200) : QColor(170, 170, 170), 0,
               isSelected() ? Qt::DashLine : Qt::DotLine);
  outline.setCosmetic(true);
  painter->setPen(outline);
  painter->setBrush(Qt::NoBrush);
  if (shown.kind != ObjectKind::Line) painter->drawRect(shown.rect.normalized());
  if (isSelected()) painter->fillRect(handleRect(), QColor(0, 90, 200));
}

void DesignObjectItem::paintPlaceholder(QPainter& painter, const LabelObject& object) {
  // An object whose value is empty shows what it is bound to, in grey.
  const QString name = object.variable.isEmpty() ? QStringLiteral("(testo vuoto)")
                                                 : QStringLiteral("[%1]").arg(object.variable);
  if (object.kind == ObjectKind::Barcode)
    painter.fillRect(object.rect.normalized(), QColor(235, 235, 235));
  LabelObject label = object;
  label.kind = ObjectKind::Text;
  label.variable.clear();
  label.fixedText = name;
  painter.save();
  painter.setOpacity(0.5);
  host_.designRenderer().paintObject(painter, label, {});
  painter.restore();
}

QVariant DesignObjectItem::itemChange(GraphicsItemChange change, const QVariant& value) {
  if (change == ItemPositionChange && !syncing_) {
    const QPointF wanted = value.toPointF();
    return QPointF(snap(wanted.x()), snap(wanted.y()));
  }
  if (change == ItemPositionHasChanged && !syncing_) report();
  return QGraphicsObject::itemChange(change, value);
}

void DesignObjectItem::report() {
  host_.objectRectEdited(index_, QRectF(pos(), size_));
}

void DesignObjectItem::mousePressEvent(QGraphicsSceneMouseEvent* event) {
  if (event->button() == Qt::LeftButton && isSelected() &&
      handleRect().adjusted(-0.5, -0.5, 0.5, 0.5).contains(event->pos())) {
    resizing_ = true;
    event->accept();
    return;
  }
  QGraphicsObject::mousePressEvent(event);
}

void DesignObjectItem::mouseMoveEvent(QGraphicsSceneMouseEvent* event) {
  if (!resizing_) {
    QGraphicsObject::mouseMoveEvent(event);
    return;
  }
  QSizeF size(snap(event->pos().x()), snap(event->pos().y()));
  if (host_.objectAt(index_).kind != ObjectKind::Line)
    size = size.expandedTo(QSizeF(kMinimumMm, kMinimumMm));
  prepareGeometryChange();
  size_ = size;
  report();
  update();
}

void DesignObjectItem::mouseReleaseEvent(QGraphicsSceneMouseEvent* event) {
  resizing_ = false;
  QGraphicsObject::mouseReleaseEvent(event);
}

void DesignObjectItem::keyPressEvent(QKeyEvent* event) {
  // Arrows move by a tenth of a millimetre, by a millimetre with Shift.
  const double step = event->modifiers() & Qt::ShiftModifier ? 1 : 0.1;
  QPointF delta;
  switch (event->key()) {
    case Qt::Key_Left:
      delta = {-step, 0};
      break;
    case Qt::Key_Right:
      delta = {step, 0};
      break;
    case Qt::Key_Up:
      delta = {0, -step};
      break;
    case Qt::Key_Down:
      delta = {0, step};
      break;
    default:
      QGraphicsObject::keyPressEvent(event);
      return;
  }
  setPos(pos() + delta);
  event->accept();
}

}  // namespace platform::reports
