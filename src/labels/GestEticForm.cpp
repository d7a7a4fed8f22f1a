#include "labels/GestEticForm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "env/TabX.h"
#include "grid/QuovGrid.h"
#include "grid/RadioGroup.h"
#include "labels/CheckTabEtic.h"
#include "labels/ImportProgressDialog.h"
#include "labels/LaunchReport.h"
#include "labels/PrintLaunch.h"
#include "labels/ThermalPrinting.h"
#include "ui/DorviIn1Form.h"
#include "ui/Prompter.h"

namespace {

const QString kListStatement =
    QStringLiteral("SELECT * FROM ETICHETTE WHERE IDLANCIOSTAMPA IS NULL");

const char kHelp[] =
    "TIPI FILE ACQUISIBILI.\r\rFILE CON 3 CAMPI:\r\r- DATI PRODOTTO\r- DESCRIZIONE\r- CODICE\r\r\r"
    "FILE CON 13  CAMPI\r\r- DATI PRODOTTO\r- DESCRIZIONE\r- CODICE\r\r- CAUSALE\r\r- ORDINE\r"
    "- CODCLIDESTIN\r- RAGSOCLIDESTIN\r...\r\r\rFILE CON 4 CAMPI\r- DATI PRODOTTO\r- DESCRIZIONE\r"
    "- CODICE\r- CODICE_EAN\r\rNota: il sitema riconosce automaticamente codice_ean al posto di "
    "causale.";

QPushButton* button(const QString& name, const QString& text, QWidget* parent) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  return b;
}

}  // namespace

TGestEticForm::TGestEticForm(QWidget* owner, std::unique_ptr<TTabXForm> ambiente)
    : app::EnvironmentWindow(owner, std::move(ambiente),
                             QStringLiteral("Gestione etichette - Ditta:")),
      transazione_(this->ambiente().IBDatabase1,
                   {QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait")}),
      QueryEtic(this->ambiente().IBDatabase1, transazione_),
      QueryAux(this->ambiente().IBDatabase1, transazione_),
      QueryAux2(this->ambiente().IBDatabase1, transazione_) {
  setObjectName(QStringLiteral("GestEticForm"));
  resize(683, 474);

  Label1 = new QLabel(QStringLiteral("Etichette ancora da stampare:\r\nF3 o doppio click per "
                                     "selezionare / deselezionare"),
                      this);
  Label1->setObjectName(QStringLiteral("Label1"));
  GridEtic = new TQuovGrid(this);
  GridEtic->setObjectName(QStringLiteral("GridEtic"));
  ButtonCarica = button(QStringLiteral("ButtonCarica"), QStringLiteral("Carica Da &File"), this);
  ButtonHelp = button(QStringLiteral("ButtonHelp"), QStringLiteral("?"), this);
  ButtonSel = button(QStringLiteral("ButtonSel"), QStringLiteral("Selez. Tutto"), this);
  ButtonDesel = button(QStringLiteral("ButtonDesel"), QStringLiteral("Deselez. Tutto"), this);
  ButtonLancio = button(QStringLiteral("ButtonLancio"), QStringLiteral("Lancio &Stampa"), this);
  CheckEdita = new QCheckBox(QStringLiteral("Edita etichetta"), this);
  CheckEdita->setObjectName(QStringLiteral("CheckEdita"));
  CheckEscludiSeriale = new QCheckBox(QString::fromUtf8("Escludi N° seriale"), this);
  CheckEscludiSeriale->setObjectName(QStringLiteral("CheckEscludiSeriale"));
  RadioTipoStampa = new TRadioGroup(QStringLiteral("Tipo stampa"), this);
  RadioTipoStampa->setObjectName(QStringLiteral("RadioTipoStampa"));
  RadioTipoStampa->setItems({QStringLiteral("Standard"), QStringLiteral("Con EAN")});
  RadioTipoStampa->setItemIndex(0);
  ButtonChiudi = button(QStringLiteral("ButtonChiudi"), QStringLiteral("Ch&iudi"), this);

  auto* layout = new QGridLayout(this);
  layout->addWidget(Label1, 0, 0);
  layout->addWidget(GridEtic, 1, 0, 8, 1);
  auto* carica = new QHBoxLayout;
  carica->addWidget(ButtonCarica);
  carica->addWidget(ButtonHelp);
  layout->addLayout(carica, 1, 1);
  layout->addWidget(ButtonSel, 2, 1);
  layout->addWidget(ButtonDesel, 3, 1);
  layout->addWidget(ButtonLancio, 4, 1);
  layout->addWidget(CheckEdita, 5, 1);
  layout->addWidget(CheckEscludiSeriale, 6, 1);
  layout->addWidget(RadioTipoStampa, 7, 1);
  layout->addWidget(ButtonChiudi, 8, 1, Qt::AlignBottom);
  layout->setColumnStretch(0, 1);
  layout->setRowStretch(7, 1);

  connect(ButtonCarica, &QPushButton::clicked, this, [this] { ButtonCaricaClick(); });
  connect(ButtonHelp, &QPushButton::clicked, this, [this] { ButtonHelpClick(); });
  connect(ButtonSel, &QPushButton::clicked, this, [this] { ButtonSelClick(); });
  connect(ButtonDesel, &QPushButton::clicked, this, [this] { ButtonDeselClick(); });
  connect(ButtonLancio, &QPushButton::clicked, this, [this] { ButtonLancioClick(); });
  connect(ButtonChiudi, &QPushButton::clicked, this, &QWidget::close);

  TTabXForm& env = this->ambiente();
  try {
    transazione_.start();
  } catch (const db::DbError& error) {
    ui::error(error.text());
  }
  labels::CheckTabEtic(QueryAux);

  GridEtic->CodiceProgetto = 123;
  GridEtic->Situazione = 1;
  GridEtic->Utente = env.GetNumUser();
  GridEtic->TabellaBase = QStringLiteral("ETICHETTE");
  GridEtic->TabellaPiccola = true;
  GridEtic->DirectoryBin = env.GetV(QStringLiteral("BinDir"));
  GridEtic->SezioneIni = env.Ditta;
  GridEtic->DatabaseImpostazioni = &env.IBDatabase1;
  GridEtic->OnInizioRicerca = [this](QObject*) { ricercaInCorso_ = true; };
  GridEtic->OnFineRicerca = [this](QObject*) { ricercaInCorso_ = false; };
  GridEtic->OnDblClick = [this](QObject*) { SelezionaRigaCorrente(); };
  // The query's own handlers first: the grid displaces and calls them.
  QueryEtic.setBeforeOpen([this](db::DataSet& dataSet) { QueryEticBeforeOpen(dataSet); });
  QueryEtic.setBeforeClose([this](db::DataSet& dataSet) { QueryEticBeforeClose(dataSet); });
  GridEtic->SetSorgenteDati(&QueryEtic);
  GridEtic->setItemDelegate(new EtichetteDelegate(*this));
  GridEtic->installEventFilter(this);

  try {
    QueryEtic.open();
  } catch (const db::DbError& error) {
    ui::error(error.text());
  }
  if (env.GetV(QStringLiteral("ModoStampa")) == QLatin1String("T")) CheckEdita->hide();
  centreOverOwner();
}

TGestEticForm::~TGestEticForm() {
  // The grid lets go of the query before the query goes.
  GridEtic->SetSorgenteDati(nullptr);
}

void TGestEticForm::QueryEticBeforeOpen(db::DataSet&) {
  QueryEtic.sql = QStringList{kListStatement};
  GridEtic->SQLIniziale = QueryEtic.sql;
  GridEtic->CaricaAspettoColonne();
}

void TGestEticForm::QueryEticBeforeClose(db::DataSet&) {
  // A close caused by a search does not save the layout.
  if (ricercaInCorso_ || !QueryEtic.isActive() || GridEtic->RipristinoInCorso) return;
  try {
    GridEtic->SalvaAspettoColonne();
  } catch (const db::DbError&) {
    // The layout stays as stored; the list goes on.
  }
}

void TGestEticForm::RiapriLista() {
  try {
    QueryEtic.close();
    transazione_.ensureStarted();
    QueryEtic.open();
  } catch (const db::DbError& error) {
    ui::error(error.text());
  }
  aggiornaGriglia();
}

QString TGestEticForm::idOfRow(int row) const {
  const int column = QueryEtic.fieldIndex(QStringLiteral("ID"));
  if (column < 0) return {};
  return db::displayText(QueryEtic.value(row, column));
}

bool TGestEticForm::isSelected(int row) const {
  return !QueryEtic.isEmpty() && selezionati_.contains(idOfRow(row));
}

void TGestEticForm::aggiornaGriglia() {
  GridEtic->viewport()->update();
}

void TGestEticForm::SelezionaRigaCorrente() {
  if (!QueryEtic.isActive() || QueryEtic.isEmpty()) return;
  const int row = GridEtic->currentIndex().isValid() ? GridEtic->currentIndex().row() : 0;
  const QString id = idOfRow(row);
  if (id.isEmpty()) return;
  if (!selezionati_.removeOne(id)) selezionati_.append(id);
  aggiornaGriglia();
}

void TGestEticForm::ButtonSelClick() {
  if (QueryEtic.isActive() && !QueryEtic.isEmpty()) {
    GridEtic->setUpdatesEnabled(false);
    selezionati_.clear();
    // Through the grid's model, so that the grid knows of every row read.
    QAbstractItemModel* model = GridEtic->model();
    while (model->canFetchMore(QModelIndex())) model->fetchMore(QModelIndex());
    for (int row = 0; row < QueryEtic.rowCount(); ++row) selezionati_.append(idOfRow(row));
    // Back on the first row, as after walking the list from its start.
    const int column = GridEtic->currentIndex().isValid() ? GridEtic->currentIndex().column() : 0;
    GridEtic->setCurrentIndex(model->index(0, column));
    GridEtic->scrollToTop();
    GridEtic->setUpdatesEnabled(true);
  }
  aggiornaGriglia();
}

void TGestEticForm::ButtonDeselClick() {
  selezionati_.clear();
  aggiornaGriglia();
}

void TGestEticForm::ButtonHelpClick() {
  ui::information(QString::fromLatin1(kHelp));
}

void TGestEticForm::ButtonCaricaClick() {
  const auto result =
      labels::CaricaDaFile(this, QueryAux, ambiente().GetV(QStringLiteral("BinDir")));
  if (result) RiapriLista();
}

void TGestEticForm::ButtonLancioClick() {
  TTabXForm& env = ambiente();
  if (!QueryEtic.isActive() || QueryEtic.isEmpty()) {
    ui::warning(QStringLiteral("La tabella è vuota"));
    return;
  }
  if (selezionati_.isEmpty()) {
    ui::warning(QStringLiteral("Selezionare almeno un record"));
    return;
  }
  const labels::LaunchChoices choices{RadioTipoStampa->ItemIndex() == 1,
                                      CheckEscludiSeriale->isChecked(), CheckEdita->isChecked()};
  labels::PrintLaunch launch(env, transazione_, selezionati_, choices);
  const bool thermal = env.GetV(QStringLiteral("ModoStampa")) == QLatin1String("T");

  if (!choices.edit || thermal) {
    TDorviIn1Form dialog(this);
    dialog.setWindowTitle(choices.excludeSerial
                              ? QString::fromUtf8("Nuovo lancio (con esclusione N° seriale)")
                              : QStringLiteral("Nuovo lancio"));
    dialog.Label1()->setText(QStringLiteral("Descrizione lancio"));
    dialog.Edit1()->clear();
    dialog.Edit1()->setMaxLength(64);
    dialog.setFont(QFont(QStringLiteral("Tahoma"), 8, QFont::Normal));
    if (ui::runDialog(dialog) != 1) return;
    if (!launch.apriLancio(dialog.Edit1()->text())) {
      RiapriLista();
      return;
    }
    idLancio_ = launch.IdLancio();
  }

  if (thermal) {
    QProgressDialog progress(QStringLiteral("Stampa etichette..."), QString(), 0,
                             static_cast<int>(selezionati_.size()), this);
    progress.setObjectName(QStringLiteral("ProgressoStampa"));
    progress.setWindowTitle(QStringLiteral("Stampa Etichette"));
    progress.setMinimumDuration(500);
    progress.setValue(0);
    const labels::ThermalResult result = labels::stampaTermica(
        env, transazione_, launch, selezionati_, choices, [&progress](int sent, int total) {
          progress.setMaximum(total);
          progress.setValue(sent);
        });
    progress.reset();
    ui::show(result.messages);
    if (result.printed > 0) selezionati_.clear();
    RiapriLista();
    return;
  }

  MotoreEtichette.setDefineVariablesHandler([&](platform::reports::DefineVariablesEvent& event) {
    launch.defineVariables(MotoreEtichette, event);
  });
  if (choices.edit) {
    MotoreEtichette.design(0, this, QStringLiteral("Edita Etichetta"),
                           platform::reports::ProjectType::Label, launch.projectFile(), true);
    MotoreEtichette.setDefineVariablesHandler({});
    return;
  }
  // The pages wait until the launch is concluded: they come out only when
  // the launch keeps their labels.
  MotoreEtichette.setHoldOutput(true);
  MotoreEtichette.print(0, platform::reports::ProjectType::Label, launch.projectFile(), false,
                        platform::reports::kDestinationChosenByUser,
                        platform::reports::BoxType::Waiting, this,
                        QStringLiteral("Stampa Etichette"));
  MotoreEtichette.setDefineVariablesHandler({});
  const labels::PrintLaunch::Result result = launch.concludi(MotoreEtichette);
  RiapriLista();

  ui::show(labels::launchMessages(result));
  if (result.outcome != labels::PrintLaunch::Outcome::Printed) return;
  selezionati_.clear();
  aggiornaGriglia();
}

bool TGestEticForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == GridEtic && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_F3) {
    SelezionaRigaCorrente();
    return true;
  }
  return app::EnvironmentWindow::eventFilter(watched, event);
}

void TGestEticForm::closeEvent(QCloseEvent* event) {
  if (!chiusura_) {
    chiusura_ = true;
    QueryEticBeforeClose(QueryEtic);
  }
  app::EnvironmentWindow::closeEvent(event);
}

void EtichetteDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  const QPalette& palette = option.palette;
  painter->save();
  painter->fillRect(option.rect, form_.isSelected(index.row()) ? palette.color(QPalette::Highlight)
                                                               : palette.color(QPalette::Base));
  painter->setClipRect(option.rect);
  painter->setPen(Qt::black);
  painter->setFont(option.font);
  const QRect text = option.rect.adjusted(2, 2, 0, 0);
  painter->drawText(text, Qt::AlignLeft | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
  painter->restore();
}
