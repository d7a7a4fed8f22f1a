#include "ui/EditData.h"

#include <QKeyEvent>

#include "ui/DateShaping.h"

namespace {

// Keys after which the text is neither reshaped nor the caret moved.
bool leavesTextAlone(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Cancel:
    case Qt::Key_Backspace:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Delete:
      return true;
    case Qt::Key_Pause:  // Ctrl+Break
      return event.modifiers().testFlag(Qt::ControlModifier);
    default:
      return false;
  }
}

}  // namespace

TEditData::TEditData(QWidget* parent) : QLineEdit(parent) {}

void TEditData::keyReleaseEvent(QKeyEvent* event) {
  QLineEdit::keyReleaseEvent(event);
  if (event->isAutoRepeat() || leavesTextAlone(*event)) return;
  shapeDate();
}

void TEditData::shapeDate() {
  const ui::ShapedDate shaped = ui::shapeTypedDate(text());
  if (shaped.selectionLength > 0) {
    setSelection(shaped.selectionStart, shaped.selectionLength);
    return;
  }
  if (shaped.text != text()) setText(shaped.text);
  setCursorPosition(static_cast<int>(shaped.text.size()));
}
