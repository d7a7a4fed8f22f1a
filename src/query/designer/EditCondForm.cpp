#include "query/designer/EditCondForm.h"

#include <QVBoxLayout>

#include "query/designer/LimitedMemo.h"

TEditCondForm::TEditCondForm(QWidget* parent)
    : DesignerDialog(QStringLiteral("EditCondForm"), QStringLiteral("EDITAZIONE CONDIZIONE QUERY"),
                     parent),
      memo1_(new query::designer::LimitedMemo(kMaxLength, this)) {
  memo1_->setObjectName(QStringLiteral("Memo1"));
  memo1_->setTabChangesFocus(true);
  contents()->addWidget(memo1_);
  resize(520, 260);
  setFirstFocus(memo1_);
}
