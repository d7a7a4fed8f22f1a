#include "query/designer/RaggMesiForm.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "grid/RadioGroup.h"
#include "ui/Prompter.h"

namespace query::designer {

QString extractCondition(const QString& field, bool month, const QString& name) {
  return QStringLiteral("(EXTRACT (%1 from %2)) AS %3")
      .arg(month ? QStringLiteral("MONTH") : QStringLiteral("YEAR"), field, name);
}

}  // namespace query::designer

namespace {

const QStringList kData{QStringLiteral("Anno"), QStringLiteral("Mese")};

}  // namespace

TRaggMesiForm::TRaggMesiForm(const QStringList& dateFields, QWidget* parent)
    : DesignerDialog(QStringLiteral("RaggMesiForm"), QStringLiteral("Estrazione anni e mesi"),
                     parent, QStringLiteral("OK"), QStringLiteral("Cancel")),
      editNomiCampi_(new QComboBox(this)),
      editNomeCampoRisposta_(new QLineEdit(this)),
      radioGroup1_(new TRadioGroup(QStringLiteral("Dato da estrarre:"), this)) {
  editNomiCampi_->setObjectName(QStringLiteral("EditNomiCampi"));
  editNomeCampoRisposta_->setObjectName(QStringLiteral("EditNomeCampoRisposta"));
  radioGroup1_->setObjectName(QStringLiteral("RadioGroup1"));
  editNomiCampi_->addItems(dateFields);
  editNomiCampi_->setMinimumWidth(220);
  radioGroup1_->setItems(kData);
  radioGroup1_->setColumns(2);
  connect(radioGroup1_, &TRadioGroup::itemIndexChanged, this,
          [this](int index) { RadioGroup1Click(index); });

  contents()->addWidget(query::designer::focusCaption(QStringLiteral("Selezione campo data"),
                                                      QStringLiteral("ButtonSelezioneCampo"),
                                                      editNomiCampi_, this));
  contents()->addWidget(editNomiCampi_);
  contents()->addWidget(radioGroup1_);
  auto* name = new QLabel(QStringLiteral("Nome campo di risposta:"), this);
  name->setBuddy(editNomeCampoRisposta_);
  contents()->addWidget(name);
  contents()->addWidget(editNomeCampoRisposta_);
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  setFirstFocus(editNomiCampi_);
}

void TRaggMesiForm::RadioGroup1Click(int index) {
  if (index >= 0 && index < kData.size() && editNomeCampoRisposta_->text().isEmpty())
    editNomeCampoRisposta_->setText(kData[index]);
}

void TRaggMesiForm::confirm() {
  if (editNomiCampi_->currentText().isEmpty()) {
    ui::warning(QStringLiteral("Selezionare un campo data!"));
    return;
  }
  if (radioGroup1_->ItemIndex() < 0) {
    ui::warning(QStringLiteral("Selezionare il dato da estrarre!"));
    return;
  }
  if (editNomeCampoRisposta_->text().isEmpty()) {
    ui::warning(QStringLiteral("Impostare il nome del campo di risposta!"));
    return;
  }
  condition_ = query::designer::extractCondition(editNomiCampi_->currentText(),
                                                 radioGroup1_->ItemIndex() == 1,
                                                 editNomeCampoRisposta_->text());
  done(ui::ResultOk);
}
