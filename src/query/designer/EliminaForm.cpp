#include "query/designer/EliminaForm.h"

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

TEliminaForm::TEliminaForm(const QStringList& tableHeaders, QWidget* parent)
    : DesignerDialog(QStringLiteral("EliminaForm"), QStringLiteral("Elimina tabella collegata"),
                     parent),
      editNomeTabella_(new QComboBox(this)) {
  editNomeTabella_->setObjectName(QStringLiteral("EditNomeTabella"));
  editNomeTabella_->addItems(tableHeaders);
  editNomeTabella_->setCurrentIndex(-1);
  editNomeTabella_->setMinimumWidth(240);

  auto* caption = new QLabel(QStringLiteral("Tabella da eliminare"), this);
  caption->setBuddy(editNomeTabella_);
  contents()->addWidget(caption);
  contents()->addWidget(editNomeTabella_);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  setFirstFocus(editNomeTabella_);
}
