#include "query/designer/FormuleForm.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "query/designer/FormulaLegend.h"
#include "ui/Prompter.h"

TFormuleForm::TFormuleForm(const QStringList& fieldNames, const QString& currentName,
                           QWidget* parent)
    : DesignerDialog(QStringLiteral("FormuleForm"), QStringLiteral("Inserisci Formule"), parent),
      editNomiCampi_(new QComboBox(this)),
      editFormula_(new QLineEdit(this)),
      editNomeCampoRisposta_(new QLineEdit(this)) {
  editNomiCampi_->setObjectName(QStringLiteral("EditNomiCampi"));
  editFormula_->setObjectName(QStringLiteral("EditFormula"));
  editNomeCampoRisposta_->setObjectName(QStringLiteral("EditNomeCampoRisposta"));

  // Editable, so that the current row's name shows even when it is not one
  // of the selectable fields.
  editNomiCampi_->setEditable(true);
  editNomiCampi_->setInsertPolicy(QComboBox::NoInsert);
  editNomiCampi_->addItems(fieldNames);
  editNomiCampi_->setCurrentText(currentName);

  auto* add = new QPushButton(QStringLiteral("Aggiungi campo alla formula"), this);
  add->setObjectName(QStringLiteral("ButtonAddField"));
  add->setAutoDefault(false);
  connect(add, &QPushButton::clicked, this,
          [this] { editFormula_->setText(editFormula_->text() + editNomiCampi_->currentText()); });

  auto* fieldRow = new QHBoxLayout;
  fieldRow->addWidget(editNomiCampi_, 1);
  fieldRow->addWidget(add);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Campi:"), fieldRow);
  form->addRow(QStringLiteral("Formula:"), editFormula_);
  form->addRow(QStringLiteral("Nome campo di risposta:"), editNomeCampoRisposta_);
  editFormula_->setMinimumWidth(360);

  contents()->addLayout(form);
  contents()->addSpacing(8);
  contents()->addWidget(query::designer::createFormulaLegend(this));
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  setFirstFocus(editFormula_);
}

void TFormuleForm::confirm() {
  if (editFormula_->text().isEmpty()) {
    ui::warning(QStringLiteral("Formula non impostata!"));
    done(ui::ResultUnset);
    return;
  }
  done(ui::ResultOk);
}
