#include "ui/DorviIn1Form.h"

#include <QLineEdit>

namespace ui {

TDorviIn1Form::TDorviIn1Form(QWidget* parent)
    : InputDialog(QStringLiteral("DorviIn1Form"), QStringLiteral("Inserisci il valore:"), parent),
      edit1_(new QLineEdit(this)) {
  edit1_->setObjectName(QStringLiteral("Edit1"));
  addBox(edit1_, 280);
}

}  // namespace ui
