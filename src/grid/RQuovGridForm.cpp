#include "grid/RQuovGridForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "grid/RadioGroup.h"
#include "ui/EditData.h"

TRQuovGridForm::TRQuovGridForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("RQuovGridForm"));
  setModal(true);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  const auto named = [](QObject* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
  };
  Label1 = new QLabel(QStringLiteral("Stringa di ricerca"), this);
  named(Label1, "Label1");
  EditStringa = new QLineEdit(this);
  named(EditStringa, "EditStringa");
  EditData1 = new TEditData(this);
  named(EditData1, "EditData1");
  EditData1->hide();
  Label2 = new QLabel(QStringLiteral("e (facoltativo):"), this);
  named(Label2, "Label2");
  Label2->hide();
  EditData2 = new TEditData(this);
  named(EditData2, "EditData2");
  EditData2->hide();

  EditTipoRicerca = new TRadioGroup(QStringLiteral(" Tipo ricerca "), this);
  named(EditTipoRicerca, "EditTipoRicerca");
  EditTipoRicerca->setColumns(3);
  EditTipoRicerca->setItems(
      {QStringLiteral(">="), QStringLiteral("LIKE %%"), QStringLiteral("LIKE %")});
  EditTipoRicerca->setItemIndex(0);
  EditUpper = new QCheckBox(QStringLiteral("Upper"), this);
  named(EditUpper, "EditUpper");
  EditUpper->setChecked(true);
  ButtonAggRete = new QPushButton(QStringLiteral("&+"), this);
  named(ButtonAggRete, "ButtonAggRete");
  ButtonAggRete->setAutoDefault(false);

  EditOrdinamento = new TRadioGroup(QStringLiteral(" Tipo ordinamento "), this);
  named(EditOrdinamento, "EditOrdinamento");
  EditOrdinamento->setColumns(3);
  EditOrdinamento->setItems(
      {QStringLiteral("No"), QStringLiteral("Cresc."), QStringLiteral("Decres.")});
  EditOrdinamento->setItemIndex(1);
  EditGenerica = new QCheckBox(QStringLiteral("Generica"), this);
  named(EditGenerica, "EditGenerica");
  EditGenerica->setEnabled(false);
  ButtonEsegui = new QPushButton(QStringLiteral("Esegui"), this);
  named(ButtonEsegui, "ButtonEsegui");
  ButtonEsegui->setAutoDefault(false);
  ButtonEsegui->setEnabled(false);

  auto* layout = new QGridLayout(this);
  layout->addWidget(Label1, 0, 0, 1, 3);
  // The first date box takes the place of the text box for date fields.
  layout->addWidget(EditStringa, 1, 0, 1, 3);
  layout->addWidget(EditData1, 1, 0);
  layout->addWidget(Label2, 1, 1);
  layout->addWidget(EditData2, 1, 2);
  layout->addWidget(EditTipoRicerca, 2, 0, 1, 3);
  layout->addWidget(EditUpper, 2, 3);
  layout->addWidget(ButtonAggRete, 2, 4);
  layout->addWidget(EditOrdinamento, 3, 0, 1, 3);
  layout->addWidget(EditGenerica, 3, 3);
  layout->addWidget(ButtonEsegui, 3, 4);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TRQuovGridForm::limitaModiNumerici() {
  const int chosen = EditTipoRicerca->ItemIndex();
  EditTipoRicerca->setItems({QStringLiteral(">="), QStringLiteral("LIKE %%")});
  EditTipoRicerca->setColumns(2);
  EditTipoRicerca->setItemIndex(chosen == 0 ? 0 : 1);
}

void TRQuovGridForm::mostraDate() {
  EditStringa->hide();
  EditData1->setMinimumWidth(EditStringa->sizeHint().width());
  EditData1->show();
  EditData2->show();
  Label2->show();
  Label1->setText(QStringLiteral("Inserisci una data compresa tra:"));
  EditTipoRicerca->hide();
  EditData1->setFocus();
}

void TRQuovGridForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->accept();
    emit escapePressed();
    return;
  }
  QDialog::keyPressEvent(event);
}
