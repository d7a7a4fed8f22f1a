#pragma once

#include <QGraphicsObject>

#include "platform/reports/LabelProject.h"

namespace platform::reports {

class LabelRenderer;

// What an object on the designer's page needs from the designer.
class DesignItemHost {
 public:
  virtual const LabelObject& objectAt(int index) const = 0;
  virtual const Variables& designVariables() const = 0;
  virtual LabelRenderer& designRenderer() = 0;
  // The user moved or resized the object with the mouse or the keys.
  virtual void objectRectEdited(int index, const QRectF& rect) = 0;

 protected:
  ~DesignItemHost() = default;
};

// One label object on the designer's page (scene units are millimetres):
// drawn as it prints, with the current variables; moved by dragging or with
// the arrow keys, resized by dragging the handle at its bottom-right corner.
// Positions and sizes snap to tenths of a millimetre.
class DesignObjectItem : public QGraphicsObject {
  Q_OBJECT

 public:
  DesignObjectItem(DesignItemHost& host, int index);

  int index() const { return index_; }
  // Takes the object's position and size from the project again.
  void syncFromObject();

  QRectF boundingRect() const override;
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

 protected:
  QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;
  void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
  void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
  void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QRectF handleRect() const;
  void paintPlaceholder(QPainter& painter, const LabelObject& object);
  void report();

  DesignItemHost& host_;
  int index_;
  QSizeF size_;
  bool resizing_ = false;
  bool syncing_ = false;
};

}  // namespace platform::reports
