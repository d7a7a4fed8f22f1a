#include "query/designer/DesignerDialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace query::designer {

DesignerDialog::DesignerDialog(const QString& objectName, const QString& caption, QWidget* parent,
                               const QString& okText, const QString& cancelText)
    : ui::ModalDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                  Qt::WindowCloseButtonHint),
      contents_(new QVBoxLayout),
      ok_(new QPushButton(okText, this)),
      cancel_(new QPushButton(cancelText, this)) {
  setObjectName(objectName);
  setWindowTitle(caption);
  ok_->setObjectName(QStringLiteral("ButtonOk"));
  cancel_->setObjectName(QStringLiteral("ButtonCancel"));
  ok_->setDefault(true);
  setCancelButton(cancel_);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(contents_, 1);
  layout->addLayout(buttons);

  connect(ok_, &QPushButton::clicked, this, [this] { confirm(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { done(ui::ResultCancel); });
}

void DesignerDialog::confirm() {
  done(ui::ResultOk);
}

QPushButton* focusCaption(const QString& text, const QString& name, QWidget* box, QWidget* parent) {
  auto* caption = new QPushButton(text, parent);
  caption->setObjectName(name);
  caption->setFlat(true);
  caption->setAutoDefault(false);
  caption->setFocusPolicy(Qt::NoFocus);
  QObject::connect(caption, &QPushButton::clicked, box, [box] { box->setFocus(); });
  return caption;
}

}  // namespace query::designer
