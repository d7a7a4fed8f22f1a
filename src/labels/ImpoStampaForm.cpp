#include "labels/ImpoStampaForm.h"

#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "db/Transaction.h"
#include "env/TabX.h"
#include "grid/RadioGroup.h"
#include "labels/ThermalPrinting.h"
#include "platform/printing/PrinterList.h"
#include "ui/Prompter.h"

TImpoStampaForm::TImpoStampaForm(QWidget* owner, std::unique_ptr<TTabXForm> ambiente)
    : app::EnvironmentWindow(owner, std::move(ambiente),
                             QStringLiteral("Impostazioni stampa - Ditta:")) {
  setObjectName(QStringLiteral("ImpoStampaForm"));
  resize(629, 175);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  PanelImpoStampa = new QFrame(this);
  PanelImpoStampa->setObjectName(QStringLiteral("PanelImpoStampa"));
  outer->addWidget(PanelImpoStampa);

  RadioModoStampa = new TRadioGroup(QStringLiteral(" Modo stampa "), PanelImpoStampa);
  RadioModoStampa->setObjectName(QStringLiteral("RadioModoStampa"));
  RadioModoStampa->setItems({QStringLiteral("Laser"), QStringLiteral("Termica")});
  ButtonStampante = new QPushButton(QStringLiteral("Stampante termica"), PanelImpoStampa);
  ButtonStampante->setObjectName(QStringLiteral("ButtonStampante"));
  ComboStampante = new QComboBox(PanelImpoStampa);
  ComboStampante->setObjectName(QStringLiteral("ComboStampante"));
  ComboStampante->setEditable(true);
  ComboStampante->setInsertPolicy(QComboBox::NoInsert);
  ComboStampante->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  ComboModello = new QComboBox(PanelImpoStampa);
  ComboModello->setObjectName(QStringLiteral("ComboModello"));
  ComboModello->addItems({QStringLiteral("Standard"), QStringLiteral("Con EAN")});
  ButtonAnteprima = new QPushButton(QStringLiteral("Anteprima etichetta termica"), PanelImpoStampa);
  ButtonAnteprima->setObjectName(QStringLiteral("ButtonAnteprima"));
  ButtonOk = new QPushButton(QStringLiteral("Ok"), PanelImpoStampa);
  ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
  ButtonOk->setDefault(true);
  ButtonCancel = new QPushButton(QStringLiteral("Cancel"), PanelImpoStampa);
  ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));
  // Enter on a focused button presses it; anywhere else it presses "Ok"
  // (keyPressEvent), as in a dialog with a default button.
  for (QPushButton* button : {ButtonStampante, ButtonAnteprima, ButtonOk, ButtonCancel})
    button->setAutoDefault(true);

  auto* layout = new QGridLayout(PanelImpoStampa);
  layout->addWidget(RadioModoStampa, 0, 0, 3, 1);
  layout->addWidget(ButtonStampante, 0, 1);
  layout->addWidget(ComboStampante, 0, 2, 1, 3);
  layout->addWidget(ComboModello, 1, 1);
  layout->addWidget(ButtonAnteprima, 1, 2);
  layout->addWidget(ButtonOk, 2, 3);
  layout->addWidget(ButtonCancel, 2, 4);
  layout->setColumnStretch(2, 1);

  riempiStampanti();
  TTabXForm& env = this->ambiente();
  const int stored =
      ComboStampante->findText(env.ValoreTabX(QStringLiteral("StampanteTermica"), true));
  ComboStampante->setCurrentIndex(stored);
  if (stored < 0) ComboStampante->setEditText(QString());
  RadioModoStampa->setItemIndex(
      env.ValoreTabX(QStringLiteral("ModoStampa"), false) == QLatin1String("T") ? 1 : 0);

  // Connected after the stored mode is shown: both stay enabled until the
  // user chooses.
  connect(RadioModoStampa, &TRadioGroup::itemIndexChanged, this,
          &TImpoStampaForm::RadioModoStampaClick);
  connect(ButtonStampante, &QPushButton::clicked, this, &TImpoStampaForm::ButtonStampanteClick);
  connect(ButtonAnteprima, &QPushButton::clicked, this, &TImpoStampaForm::ButtonAnteprimaClick);
  connect(ButtonOk, &QPushButton::clicked, this, &TImpoStampaForm::ButtonOkClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &TImpoStampaForm::ButtonCancelClick);

  centreOverOwner();
}

void TImpoStampaForm::riempiStampanti() {
  ComboStampante->addItem(QString());
  QString error;
  const QStringList entries = platform::printing::printerEntries(&error);
  ComboStampante->addItems(entries);
  if (!error.isEmpty())
    ui::warning(QStringLiteral("Impossibile leggere l'elenco delle stampanti: ") + error);
}

void TImpoStampaForm::RadioModoStampaClick() {
  const bool termica = RadioModoStampa->ItemIndex() == 1;
  ButtonStampante->setEnabled(termica);
  ComboStampante->setEnabled(termica);
}

void TImpoStampaForm::ButtonStampanteClick() {
  ComboStampante->setFocus();
}

void TImpoStampaForm::ButtonOkClick() {
  TTabXForm& env = ambiente();
  // A setting that was not stored is said, and the window stays open for
  // another try or "Cancel".
  const bool stored =
      env.SettaValoreTabX(
          QStringLiteral("ModoStampa"),
          RadioModoStampa->ItemIndex() == 1 ? QStringLiteral("T") : QStringLiteral("L"), false) &&
      env.SettaValoreTabX(QStringLiteral("StampanteTermica"), ComboStampante->currentText(), true);
  if (!stored) {
    ui::error(QStringLiteral(
        "Impostazioni di stampa non salvate: errore di scrittura nella tabella TABX"));
    return;
  }
  close();
}

void TImpoStampaForm::keyPressEvent(QKeyEvent* event) {
  // What the focused control leaves of Enter comes here.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && ButtonOk->isEnabled()) {
    ButtonOk->click();
    return;
  }
  app::EnvironmentWindow::keyPressEvent(event);
}

void TImpoStampaForm::ButtonCancelClick() {
  close();
}

void TImpoStampaForm::ButtonAnteprimaClick() {
  TTabXForm& env = ambiente();
  db::Transaction transaction(
      env.IBDatabase1, {QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait")});
  QByteArray document;
  QString error;
  if (!labels::thermalPreview(env, transaction, ComboModello->currentIndex() == 1, false, &document,
                              &error)) {
    ui::warning(error);
    return;
  }
  QDialog dialog(this);
  dialog.setObjectName(QStringLiteral("AnteprimaTermica"));
  dialog.setWindowTitle(
      QStringLiteral("Anteprima etichetta termica - %1 byte").arg(document.size()));
  auto* layout = new QVBoxLayout(&dialog);
  auto* memo = new QPlainTextEdit(&dialog);
  memo->setObjectName(QStringLiteral("MemoAnteprima"));
  memo->setReadOnly(true);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  memo->setPlainText(labels::visibleBytes(document));
  layout->addWidget(memo);
  auto* chiudi = new QPushButton(QStringLiteral("Chiudi"), &dialog);
  chiudi->setObjectName(QStringLiteral("ButtonChiudi"));
  connect(chiudi, &QPushButton::clicked, &dialog, &QDialog::accept);
  layout->addWidget(chiudi);
  dialog.resize(640, 400);
  ui::runDialog(dialog);
}
