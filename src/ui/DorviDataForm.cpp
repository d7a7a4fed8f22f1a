#include "ui/DorviDataForm.h"

#include "ui/EditData.h"

namespace ui {

TDorviDataForm::TDorviDataForm(QWidget* parent)
    : InputDialog(QStringLiteral("DorviDataForm"), QStringLiteral("Inserisci la data:"), parent),
      editData1_(new TEditData(this)) {
  editData1_->setObjectName(QStringLiteral("EditData1"));
  addBox(editData1_, 120);
}

}  // namespace ui
