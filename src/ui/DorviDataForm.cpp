#include "ui/DorviDataForm.h"

#include "ui/EditData.h"

TDorviDataForm::TDorviDataForm(QWidget* parent)
    : ui::InputDialog(QStringLiteral("DorviDataForm"), QStringLiteral("Inserisci la data:"),
                      parent),
      editData1_(new TEditData(this)) {
  editData1_->setObjectName(QStringLiteral("EditData1"));
  addBox(editData1_, 120);
}
