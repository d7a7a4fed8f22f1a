#include "query/designer/QIBEspForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "core/Paths.h"
#include "grid/RadioGroup.h"
#include "query/designer/DesignerWidgets.h"
#include "ui/Prompter.h"

using query::output::ExportType;

namespace {

QLineEdit* edit(const QString& name, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  return box;
}

QCheckBox* check(const QString& name, const QString& caption, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  return box;
}

}  // namespace

TQIBEspForm::TQIBEspForm(query::output::SettingsStore store, const QString& ditta,
                         const QString& defaultName, const QString& defaultSeparator,
                         QWidget* parent)
    : DesignerDialog(QStringLiteral("QIBEspForm"), QStringLiteral("Esporta - Ditta: ") + ditta,
                     parent),
      store_(std::move(store)),
      textFileName_(defaultName) {
  radioTipo_ = new TRadioGroup(QStringLiteral("Formato"), this);
  radioTipo_->setObjectName(QStringLiteral("RadioTipo"));
  radioTipo_->setItems({QStringLiteral("Formato Testo"), QStringLiteral("Tabella Interbase"),
                        QStringLiteral("Excel"), QStringLiteral("Excel X")});
  radioTipo_->setItemIndex(0);
  labelNome_ = new QLabel(QStringLiteral("Nome del File"), this);
  labelNome_->setObjectName(QStringLiteral("LabelNome"));
  editNome_ = edit(QStringLiteral("EditNome"), this);
  // At most 12 typed characters; a longer proposed name stays as it is.
  editNome_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral(".{0,12}")), editNome_));
  editNome_->setText(defaultName);
  buttonPercorso_ = query::designer::namedButton(QStringLiteral("ButtonSelezPercorso"),
                                                 QStringLiteral("&Selez.Percorso"), this);
  editPercorso_ = edit(QStringLiteral("EditPercorso"), this);
  labelSeparatore_ = new QLabel(QStringLiteral("Simbolo di separazione campi"), this);
  editSeparatore_ = edit(QStringLiteral("EditSeparatore"), this);
  editSeparatore_->setMaxLength(1);
  editSeparatore_->setText(defaultSeparator);
  checkLunghezzaFissa_ = check(QStringLiteral("CheckLunghezzaFissa"),
                               QStringLiteral("Imposta i campi a lunghezza fissa"), this);
  checkMemoEstesi_ =
      check(QStringLiteral("CheckMemoEstesi"), QStringLiteral("Esporta campi memo estesi"), this);
  checkMemoRtf_ =
      check(QStringLiteral("CheckMemoRtf"), QStringLiteral("Esporta memo RTF in chiaro"), this);
  checkNoIntestazioni_ = check(QStringLiteral("CheckNoIntestazioni"),
                               QStringLiteral("Non riportare le intestazioni colonne"), this);
  auto* buttonEseguibile = query::designer::namedButton(QStringLiteral("ButtonEseguibileExcel"),
                                                        QStringLiteral("&Eseguibile Excel"), this);
  editEseguibile_ = edit(QStringLiteral("EditEseguibileExcel"), this);
  auto* buttonPreimpostato = query::designer::namedButton(
      QStringLiteral("ButtonExcelPreimpostato"), QStringLiteral("Excel preimpostato"), this);
  editPreimpostato_ = edit(QStringLiteral("EditExcelPreimpostato"), this);
  buttonApriExcel_ = query::designer::namedButton(QStringLiteral("ButtonApriExcel"),
                                                  QStringLiteral("Apri Excel"), this);

  auto* grid = new QGridLayout;
  grid->addWidget(labelNome_, 0, 0);
  grid->addWidget(editNome_, 0, 1);
  grid->addWidget(buttonPercorso_, 1, 0);
  grid->addWidget(editPercorso_, 1, 1);
  grid->addWidget(labelSeparatore_, 2, 0);
  grid->addWidget(editSeparatore_, 2, 1);
  grid->addWidget(buttonEseguibile, 3, 0);
  grid->addWidget(editEseguibile_, 3, 1);
  grid->addWidget(buttonPreimpostato, 4, 0);
  grid->addWidget(editPreimpostato_, 4, 1);
  auto* checks = new QVBoxLayout;
  for (QCheckBox* each :
       {checkLunghezzaFissa_, checkMemoEstesi_, checkMemoRtf_, checkNoIntestazioni_})
    checks->addWidget(each);
  auto* top = new QHBoxLayout;
  top->addWidget(radioTipo_);
  top->addLayout(checks);
  contents()->addLayout(top);
  contents()->addLayout(grid);
  auto* extra = new QHBoxLayout;
  extra->addStretch();
  extra->addWidget(buttonApriExcel_);
  contents()->addLayout(extra);

  editPercorso_->setText(query::output::exportDirectory(store_));
  editEseguibile_->setText(store_.read(query::output::kProgrammaExcel));
  editPreimpostato_->setText(store_.read(query::output::kExcelPreimpostato));
  checkMemoEstesi_->setChecked(store_.read(query::output::kStampaMemoEstesi) ==
                               QLatin1String("Si"));
  checkMemoRtf_->setVisible(checkMemoEstesi_->isChecked());

  connect(radioTipo_, &TRadioGroup::itemIndexChanged, this, [this] { RadioTipoClick(); });
  connect(checkLunghezzaFissa_, &QCheckBox::clicked, this, [this] { CheckLunghezzaFissaClick(); });
  connect(checkMemoEstesi_, &QCheckBox::toggled, this,
          [this](bool on) { checkMemoRtf_->setVisible(on && type() == ExportType::Testo); });
  connect(buttonPercorso_, &QPushButton::clicked, this, [this] { ButtonSelezPercorsoClick(); });
  connect(buttonEseguibile, &QPushButton::clicked, this, [this] { ButtonEseguibileExcelClick(); });
  connect(buttonPreimpostato, &QPushButton::clicked, this,
          [this] { ButtonExcelPreimpostatoClick(); });
  connect(buttonApriExcel_, &QPushButton::clicked, this, [this] { ButtonApriExcelClick(); });
  RadioTipoClick();
}

ExportType TQIBEspForm::type() const {
  switch (radioTipo_->ItemIndex()) {
    case 1:
      return ExportType::IB;
    case 2:
      return ExportType::Excel;
    case 3:
      return ExportType::ExcelX;
    default:
      return ExportType::Testo;
  }
}

void TQIBEspForm::RadioTipoClick() {
  const ExportType chosen = type();
  const bool text = chosen == ExportType::Testo;
  editNome_->setText(query::output::defaultTargetName(chosen, textFileName_));
  labelNome_->setText(chosen == ExportType::IB ? QStringLiteral("Nome Tabella")
                                               : QStringLiteral("Nome del File"));
  for (QWidget* each :
       {static_cast<QWidget*>(labelSeparatore_), static_cast<QWidget*>(editSeparatore_),
        static_cast<QWidget*>(checkLunghezzaFissa_), static_cast<QWidget*>(checkMemoEstesi_),
        static_cast<QWidget*>(checkNoIntestazioni_)})
    each->setVisible(text);
  checkMemoRtf_->setVisible(text && checkMemoEstesi_->isChecked());
  buttonPercorso_->setVisible(chosen != ExportType::IB);
  editPercorso_->setVisible(chosen != ExportType::IB);
}

void TQIBEspForm::CheckLunghezzaFissaClick() {
  editSeparatore_->setText(query::output::separatorForFixedLength(
      editSeparatore_->text(), checkLunghezzaFissa_->isChecked()));
}

void TQIBEspForm::ButtonSelezPercorsoClick() {
  const QString chosen = ui::prompter().chooseDirectory(this, QStringLiteral("Selez.Percorso"),
                                                        core::nativePath(editPercorso_->text()));
  if (chosen.isEmpty()) return;
  const QString directory = query::output::withFinalBackslash(core::storedPath(chosen));
  editPercorso_->setText(directory);
  store_.write(query::output::kDirectoryExport, directory);
}

void TQIBEspForm::ButtonEseguibileExcelClick() {
  const QString chosen = ui::prompter().chooseOpenFile(
      this, QStringLiteral("Eseguibile Excel"), core::nativePath(editEseguibile_->text()),
      QStringLiteral("File exe (*.exe);;Tutti i file (*)"));
  if (!chosen.isEmpty()) editEseguibile_->setText(core::storedPath(chosen));
}

void TQIBEspForm::ButtonExcelPreimpostatoClick() {
  const QString chosen =
      ui::prompter().chooseOpenFile(this, QStringLiteral("Excel preimpostato"),
                                    core::nativePath(editPreimpostato_->text()), QString());
  if (!chosen.isEmpty()) editPreimpostato_->setText(core::storedPath(chosen));
}

void TQIBEspForm::storeChoices() {
  store_.write(query::output::kStampaMemoEstesi,
               checkMemoEstesi_->isChecked() ? QStringLiteral("Si") : QStringLiteral("No"));
  store_.write(query::output::kProgrammaExcel, editEseguibile_->text());
  store_.write(query::output::kExcelPreimpostato, editPreimpostato_->text());
}

void TQIBEspForm::confirm() {
  storeChoices();
  done(ui::ResultOk);
}

void TQIBEspForm::ButtonApriExcelClick() {
  if (editEseguibile_->text().isEmpty()) {
    ui::warning(QStringLiteral("Impostare prima l'eseguibile Excel"));
    return;
  }
  storeChoices();
  done(ResultApriExcel);
}

query::output::ExportChoice TQIBEspForm::choice() const {
  query::output::ExportChoice chosen;
  chosen.type = type();
  chosen.directory = editPercorso_->text();
  chosen.name = editNome_->text();
  chosen.separator = editSeparatore_->text();
  chosen.fixedLength = checkLunghezzaFissa_->isChecked();
  chosen.memoInFull = checkMemoEstesi_->isChecked();
  chosen.rtfPlain = chosen.memoInFull && checkMemoRtf_->isChecked();
  chosen.noHeaders = checkNoIntestazioni_->isChecked();
  chosen.templateWorkbook = editPreimpostato_->text();
  return chosen;
}
