#include "grid/TitStForm.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/IniFile.h"
#include "core/Paths.h"
#include "grid/RadioGroup.h"
#include "ui/Prompter.h"

namespace {

core::IniFile settingsFile() {
  return core::IniFile(core::windowsDirectory() + QStringLiteral("vandel.ini"));
}

QString withBackslash(QString directory) {
  if (!directory.endsWith(QLatin1Char('\\'))) directory += QLatin1Char('\\');
  return directory;
}

}  // namespace

TTitStForm::TTitStForm(QWidget* owner, QString& note, const QString& sezione, bool& numeraPagine,
                       QString& titolo)
    : QDialog(owner), note_(note), sezione_(sezione), numeraPagine_(numeraPagine), titolo_(titolo) {
  setObjectName(QStringLiteral("TitStForm"));
  setWindowTitle(QStringLiteral("Opzioni di stampa"));
  FontStampa = QFont(QStringLiteral("Arial"));
  FontStampa.setPointSize(8);
  FontDialogo = QFont(QStringLiteral("Arial"));
  FontDialogo.setPointSize(10);

  auto* heading = new QLabel(QStringLiteral("Seleziona le opzioni di stampa:"), this);
  heading->setObjectName(QStringLiteral("LabelIntestazione"));
  EditTitolo = new QLineEdit(titolo, this);
  EditTitolo->setObjectName(QStringLiteral("EditTitolo"));
  EditNoteDefault = new QLineEdit(this);
  EditNoteDefault->setObjectName(QStringLiteral("EditNoteDefault"));
  EditNumeroRigheStQuery = new QLineEdit(this);
  EditNumeroRigheStQuery->setObjectName(QStringLiteral("EditNumeroRigheStQuery"));
  LabelNumeroRighe = new QLabel(QStringLiteral("Numero righe per pagina:"), this);
  LabelNumeroRighe->setObjectName(QStringLiteral("LabelNumeroRighe"));
  EditNomeReport = new QLineEdit(this);
  EditNomeReport->setObjectName(QStringLiteral("EditNomeReport"));
  CheckStampaMemoEstesi = new QCheckBox(QStringLiteral("Stampa campi memo estesi"), this);
  CheckStampaMemoEstesi->setObjectName(QStringLiteral("CheckStampaMemoEstesi"));
  CheckNumeraPagine = new QCheckBox(QStringLiteral("Numera pagine"), this);
  CheckNumeraPagine->setObjectName(QStringLiteral("CheckNumeraPagine"));
  CheckNumeraPagine->setChecked(true);
  RadioGroup1 = new TRadioGroup(QStringLiteral("Tipo di stampa"), this);
  RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
  RadioGroup1->setItems({QStringLiteral("Avanzato personalizzabile (tecn. Combit (R))"),
                         QStringLiteral("Semplice personalizzabile (tecn. Combit (R))"),
                         QStringLiteral("Semplice/Veloce (tecn. Cristal Report (TM))")});
  RadioGroup2 = new TRadioGroup(QStringLiteral("Orientamento"), this);
  RadioGroup2->setObjectName(QStringLiteral("RadioGroup2"));
  RadioGroup2->setItems({QStringLiteral("Stampa Verticale"), QStringLiteral("Stampa Orizzontale")});
  ButtonFont = new QPushButton(QStringLiteral("Font"), this);
  ButtonFont->setObjectName(QStringLiteral("ButtonFont"));
  ButtonFont->hide();
  ButtonEditaReport = new QPushButton(QStringLiteral("Edita report"), this);
  ButtonEditaReport->setObjectName(QStringLiteral("ButtonEditaReport"));
  ButtonEditaReport->hide();
  ButtonSfoglia = new QPushButton(QStringLiteral("Sfoglia"), this);
  ButtonSfoglia->setObjectName(QStringLiteral("ButtonSfoglia"));
  ButtonOK = new QPushButton(QStringLiteral("OK"), this);
  ButtonOK->setObjectName(QStringLiteral("ButtonOK"));
  ButtonOK->setDefault(true);
  ButtonCancel = new QPushButton(QStringLiteral("Cancel"), this);
  ButtonCancel->setObjectName(QStringLiteral("ButtonCancel"));

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Titolo:"), EditTitolo);
  form->addRow(QStringLiteral("Note def.:"), EditNoteDefault);
  auto* report = new QHBoxLayout;
  report->addWidget(EditNomeReport, 1);
  report->addWidget(ButtonSfoglia);
  form->addRow(QStringLiteral("Nome file report:"), report);
  form->addRow(LabelNumeroRighe, EditNumeroRigheStQuery);
  auto* checks = new QHBoxLayout;
  checks->addWidget(CheckNumeraPagine);
  checks->addWidget(CheckStampaMemoEstesi);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ButtonFont);
  buttons->addWidget(ButtonEditaReport);
  buttons->addStretch();
  buttons->addWidget(ButtonOK);
  buttons->addWidget(ButtonCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addLayout(form);
  layout->addLayout(checks);
  layout->addWidget(RadioGroup1);
  layout->addWidget(RadioGroup2);
  layout->addLayout(buttons);

  connect(ButtonSfoglia, &QPushButton::clicked, this, &TTitStForm::ButtonSfogliaClick);
  connect(ButtonOK, &QPushButton::clicked, this, &TTitStForm::ButtonOKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &TTitStForm::ButtonCancelClick);
  connect(RadioGroup1, &TRadioGroup::itemIndexChanged, this, &TTitStForm::applicaTipo);

  // The six settings of the company.
  const core::IniFile settings = settingsFile();
  EditNumeroRigheStQuery->setText(
      settings.read(sezione_, QStringLiteral("RigheStampaQuery"), QStringLiteral("50")));
  const QString reportQuery = settings.read(sezione_, QStringLiteral("ReportQuery"));
  EditNoteDefault->setText(settings.read(sezione_, QStringLiteral("NoteStampaDefault")));
  CheckStampaMemoEstesi->setChecked(settings.read(sezione_, QStringLiteral("StampaMemoEstesi"),
                                                  QStringLiteral("No")) == QLatin1String("Si"));
  const int tipo =
      settings.read(sezione_, QStringLiteral("TipoStampa"), QStringLiteral("0")).toInt();
  const int orientamento =
      settings.read(sezione_, QStringLiteral("OrientamentoStampa"), QStringLiteral("0")).toInt();
  {
    const QSignalBlocker blocker(RadioGroup1);
    RadioGroup1->setItemIndex(tipo >= 0 && tipo <= 2 ? tipo : 0);
  }
  RadioGroup2->setItemIndex(orientamento == 1 ? 1 : 0);
  applicaTipo(RadioGroup1->ItemIndex());
  EditNomeReport->setText(reportQuery);
}

int TTitStForm::TipoStampa() const {
  return RadioGroup1->ItemIndex();
}

int TTitStForm::Orientamento() const {
  return RadioGroup2->ItemIndex();
}

void TTitStForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  EditTitolo->setFocus();
}

void TTitStForm::applicaTipo(int tipo) {
  switch (tipo) {
    case 0:
      ButtonFont->show();
      ButtonEditaReport->show();
      EditNomeReport->clear();
      FontDialogo = FontStampa;
      RadioGroup2->show();
      EditNumeroRigheStQuery->hide();
      LabelNumeroRighe->hide();
      break;
    case 1: {
      EditNumeroRigheStQuery->show();
      LabelNumeroRighe->show();
      EditNomeReport->clear();
      ButtonFont->show();
      ButtonEditaReport->hide();
      QFont courier(QStringLiteral("Courier New"));
      courier.setPointSize(8);
      FontDialogo = courier;
      RadioGroup2->hide();
      break;
    }
    default:
      ButtonFont->hide();
      ButtonEditaReport->hide();
      EditNumeroRigheStQuery->show();
      LabelNumeroRighe->show();
      EditNomeReport->setText(QStringLiteral("TEXT"));
      RadioGroup2->hide();
      break;
  }
  // The dialog takes the size of the controls the type shows, rather than
  // spreading them over the room the hidden ones left.
  layout()->activate();
  adjustSize();
}

QString TTitStForm::filtroReport() const {
  return TipoStampa() == 2
             ? QStringLiteral("File report Crystal Report (*.rpt);;Tutti i file (*.*)")
             : QStringLiteral("File report List & Label (*.lst);;Tutti i file (*.*)");
}

void TTitStForm::ButtonSfogliaClick() {
  const QString chosen = ui::prompter().chooseOpenFile(
      this, QStringLiteral("Sfoglia"), core::nativePath(directoryIniziale_), filtroReport());
  if (chosen.isEmpty()) return;
  // Reports are taken only from the starting folder.
  const QString folder = withBackslash(core::storedPath(QFileInfo(chosen).absolutePath()));
  const QString allowed = withBackslash(core::storedPath(core::nativePath(directoryIniziale_)));
  if (folder.compare(allowed, Qt::CaseInsensitive) != 0) {
    ui::plain(QStringLiteral("Attenzione: Sono ammessi report presenti nella directory ") +
              directoryIniziale_);
    return;
  }
  EditNomeReport->setText(QFileInfo(chosen).completeBaseName());
}

void TTitStForm::ButtonOKClick() {
  numeroRighe_ = EditNumeroRigheStQuery->text();
  nomeReport_ = EditNomeReport->text();
  memoEstesi_ = CheckStampaMemoEstesi->isChecked() ? QStringLiteral("Si") : QStringLiteral("No");
  const core::IniFile settings = settingsFile();
  settings.write(sezione_, QStringLiteral("RigheStampaQuery"), numeroRighe_);
  settings.write(sezione_, QStringLiteral("ReportQuery"), nomeReport_);
  settings.write(sezione_, QStringLiteral("NoteStampaDefault"), EditNoteDefault->text());
  settings.write(sezione_, QStringLiteral("StampaMemoEstesi"), memoEstesi_);
  settings.write(sezione_, QStringLiteral("TipoStampa"), QString::number(TipoStampa()));
  settings.write(sezione_, QStringLiteral("OrientamentoStampa"), QString::number(Orientamento()));
  note_ = EditNoteDefault->text();
  esito_ = kConfermato;
  numeraPagine_ = CheckNumeraPagine->isChecked();
  titolo_ = EditTitolo->text();
  accept();
}

void TTitStForm::ButtonCancelClick() {
  esito_ = kAnnullato;
  reject();
}
