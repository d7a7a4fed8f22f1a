#include "ui/DorviIn2Form.h"

#include <QLineEdit>

TDorviIn2Form::TDorviIn2Form(QWidget* parent)
    : ui::InputDialog(QStringLiteral("DorviIn2Form"), QStringLiteral("Inserisci data e numero:"),
                      parent),
      edit1_(new QLineEdit(this)),
      edit2_(new QLineEdit(this)) {
  edit1_->setObjectName(QStringLiteral("Edit1"));
  edit2_->setObjectName(QStringLiteral("Edit2"));
  addBox(edit1_, 140);
  addBox(edit2_, 140);
}
