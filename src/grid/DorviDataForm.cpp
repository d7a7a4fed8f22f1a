#include "grid/DorviDataForm.h"

#include "grid/EditData.h"

namespace grid {

TDorviDataForm::TDorviDataForm(QWidget* parent)
    : InputDialog(QStringLiteral("DorviDataForm"), QStringLiteral("Inserisci la data:"), parent),
      editData1_(new TEditData(this)) {
  editData1_->setObjectName(QStringLiteral("EditData1"));
  addBox(editData1_, 120);
}

}  // namespace grid
