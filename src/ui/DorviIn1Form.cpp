#include "ui/DorviIn1Form.h"

#include <QLineEdit>

TDorviIn1Form::TDorviIn1Form(QWidget* parent)
    : ui::InputDialog(QStringLiteral("DorviIn1Form"), QStringLiteral("Inserisci il valore:"),
                      parent),
      edit1_(new QLineEdit(this)) {
  edit1_->setObjectName(QStringLiteral("Edit1"));
  addBox(edit1_, 280);
}
