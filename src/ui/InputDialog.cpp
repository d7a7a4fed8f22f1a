#include "ui/InputDialog.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

namespace ui {

InputDialog::InputDialog(const QString& objectName, const QString& prompt, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      label_(new QLabel(prompt, this)),
      boxes_(new QHBoxLayout),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Annulla"), this)) {
  setObjectName(objectName);
  setWindowTitle(QStringLiteral("Dialog"));
  label_->setObjectName(QStringLiteral("Label1"));
  ok_->setObjectName(QStringLiteral("BitBtn1"));
  cancel_->setObjectName(QStringLiteral("BitBtn2"));
  ok_->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label_);
  layout->addLayout(boxes_);
  layout->addLayout(buttons);
  // A fixed border that still follows the prompt and font callers set.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(ok_, &QPushButton::clicked, this, [this] { done(ResultOk); });
  connect(cancel_, &QPushButton::clicked, this, [this] { done(ResultCancel); });
}

void InputDialog::addBox(QLineEdit* box, int minimumWidth) {
  box->setMinimumWidth(minimumWidth);
  boxes_->addWidget(box);
  if (!firstBox_) {
    firstBox_ = box;
    label_->setBuddy(box);
  }
}

void InputDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  // In the middle of the screen, not over the parent window.
  if (const QScreen* where = screen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(where->availableGeometry().center());
    move(frame.topLeft());
  }
  if (firstBox_) firstBox_->setFocus(Qt::ActiveWindowFocusReason);
}

void InputDialog::keyPressEvent(QKeyEvent* event) {
  // QDialog would reject() on Esc, which is the unset result of closing the
  // window; Esc is the Annulla button here.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    cancel_->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace ui
