#include "ui/InputDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

InputDialog::InputDialog(const QString& objectName, const QString& prompt, QWidget* parent)
    : ModalDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
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

  setCancelButton(cancel_);

  connect(ok_, &QPushButton::clicked, this, [this] { done(ResultOk); });
  connect(cancel_, &QPushButton::clicked, this, [this] { done(ResultCancel); });
}

void InputDialog::addBox(QLineEdit* box, int minimumWidth) {
  box->setMinimumWidth(minimumWidth);
  boxes_->addWidget(box);
  if (!label_->buddy()) {
    setFirstFocus(box);
    label_->setBuddy(box);
  }
}

}  // namespace ui
