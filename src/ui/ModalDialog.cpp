#include "ui/ModalDialog.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace ui {

ModalDialog::ModalDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

void ModalDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  if (const QScreen* where = screen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(where->availableGeometry().center());
    move(frame.topLeft());
  }
  if (firstFocus_) firstFocus_->setFocus(Qt::ActiveWindowFocusReason);
}

void ModalDialog::keyPressEvent(QKeyEvent* event) {
  if (cancelButton_ && event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    cancelButton_->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace ui
