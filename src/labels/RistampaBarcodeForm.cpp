#include "labels/RistampaBarcodeForm.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>

#include "core/Paths.h"
#include "env/TabX.h"
#include "grid/GridModel.h"
#include "ui/Prompter.h"

namespace {

constexpr int kMaxLength = 40;

QLineEdit* edit(const QString& name, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setMaxLength(kMaxLength);
  return box;
}

// A caption button above a box: pressing it moves the focus to the box.
QPushButton* captionFor(const QString& name, const QString& text, QLineEdit* box, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setFocusPolicy(Qt::NoFocus);
  QObject::connect(button, &QPushButton::clicked, box, [box] { box->setFocus(); });
  return button;
}

}  // namespace

TRistampaBarcodeForm::TRistampaBarcodeForm(QWidget* owner, std::unique_ptr<TTabXForm> ambiente)
    : app::StandaloneCapableWindow(owner, std::move(ambiente),
                                   QStringLiteral("Ristampa barcode - Ditta:")) {
  setObjectName(QStringLiteral("RistampaBarcodeForm"));
  resize(560, 480);

  EditBarcode = edit(QStringLiteral("EditBarcode"), this);
  EditDatiProdotto = edit(QStringLiteral("EditDatiProdotto"), this);
  EditDescrizione = edit(QStringLiteral("EditDescrizione"), this);
  EditBarcodeInizio = edit(QStringLiteral("EditBarcodeInizio"), this);
  auto* hintBarcode =
      new QLabel(QStringLiteral("Riselezionare un barcode della lista per eliminarlo"), this);
  auto* hintGrid = new QLabel(QStringLiteral("Scorrere la griglia e premere Canc per eliminare "
                                             "manualmente un barcode dalla lista"),
                              this);
  GridRistampa = new QTableView(this);
  GridRistampa->setObjectName(QStringLiteral("GridRistampa"));
  GridRistampa->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GridRistampa->setSelectionBehavior(QAbstractItemView::SelectRows);
  GridRistampa->setSelectionMode(QAbstractItemView::SingleSelection);
  GridRistampa->verticalHeader()->hide();
  modello_ = new grid::GridModel(GridRistampa);
  GridRistampa->setModel(modello_);
  modello_->setSource(&lista_.table());
  lista_.table().addObserver(this, [this](db::DataSet&, db::DataSet::Notice notice) {
    if (notice == db::DataSet::Notice::RowsChanged) modello_->sourceRowsChanged();
  });
  ButtonStampa = new QPushButton(QStringLiteral("&Stampa"), this);
  ButtonStampa->setObjectName(QStringLiteral("ButtonStampa"));
  ButtonChiudi = new QPushButton(QStringLiteral("&Chiudi"), this);
  ButtonChiudi->setObjectName(QStringLiteral("ButtonChiudi"));

  auto* layout = new QGridLayout(this);
  layout->addWidget(
      captionFor(QStringLiteral("ButtonBarcode"), QStringLiteral("Barcode"), EditBarcode, this), 0,
      0);
  layout->addWidget(EditBarcode, 1, 0);
  layout->addWidget(hintBarcode, 2, 0);
  layout->addWidget(captionFor(QStringLiteral("ButtonDatiProdotto"),
                               QStringLiteral("Dati Prodotto"), EditDatiProdotto, this),
                    3, 0);
  layout->addWidget(EditDatiProdotto, 4, 0);
  layout->addWidget(captionFor(QStringLiteral("ButtonDescrizione"), QStringLiteral("Descrizione"),
                               EditDescrizione, this),
                    5, 0);
  layout->addWidget(EditDescrizione, 6, 0);
  layout->addWidget(
      captionFor(QStringLiteral("ButtonBarcodeInizio"),
                 QStringLiteral("Stampa lista a partire dal barcode"), EditBarcodeInizio, this),
      7, 0);
  layout->addWidget(EditBarcodeInizio, 8, 0);
  layout->addWidget(hintGrid, 9, 0, 1, 2);
  layout->addWidget(GridRistampa, 10, 0, 2, 1);
  layout->addWidget(ButtonStampa, 10, 1, Qt::AlignTop);
  layout->addWidget(ButtonChiudi, 11, 1, Qt::AlignBottom);
  layout->setColumnStretch(0, 1);
  layout->setRowStretch(11, 1);

  connect(EditBarcode, &QLineEdit::returnPressed, this, [this] { EditBarcodeInvio(); });
  connect(GridRistampa, &QTableView::doubleClicked, this, [this] { GridRistampaDblClick(); });
  connect(ButtonStampa, &QPushButton::clicked, this, [this] { ButtonStampaClick(); });
  connect(ButtonChiudi, &QPushButton::clicked, this, &QWidget::close);
  GridRistampa->installEventFilter(this);

  QString hostDir = core::hostDirectory();
  if (!hostDir.endsWith(QLatin1Char('\\'))) hostDir += QLatin1Char('\\');
  const QString icon = core::nativePath(hostDir + QStringLiteral("Grafica\\ZELMINA7.ICO"));
  if (QFileInfo::exists(icon)) setWindowIcon(QIcon(icon));
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

TRistampaBarcodeForm::~TRistampaBarcodeForm() {
  lista_.table().removeObserver(this);
  modello_->setSource(nullptr);
}

int TRistampaBarcodeForm::currentGridRow() const {
  const QModelIndex current = GridRistampa->currentIndex();
  return current.isValid() ? current.row() : 0;
}

bool TRistampaBarcodeForm::confermaEliminazione(const QString& barcode) {
  return ui::confirm(QStringLiteral("Eliminare dalla lista di stampa il barcode ") + barcode +
                     QLatin1Char('?'));
}

void TRistampaBarcodeForm::EditBarcodeInvio() {
  const QString barcode = EditBarcode->text();
  // Enter on an empty box (a stray key or a scanner's empty read) would
  // add a label without a barcode.
  if (barcode.isEmpty()) return;
  const int found = lista_.find(barcode);
  if (found >= 0) {
    if (confermaEliminazione(barcode)) lista_.removeAt(found);
  } else {
    lista_.add(barcode);
  }
  EditBarcode->clear();
}

void TRistampaBarcodeForm::EliminaRigaCorrente() {
  if (lista_.size() == 0) return;
  const int row = currentGridRow();
  if (confermaEliminazione(lista_.barcodeAt(row))) lista_.removeAt(row);
}

void TRistampaBarcodeForm::GridRistampaDblClick() {
  if (lista_.size() == 0) return;
  EditBarcodeInizio->setText(lista_.barcodeAt(currentGridRow()));
}

void TRistampaBarcodeForm::ButtonStampaClick() {
  if (lista_.size() == 0) {
    ui::warning(QStringLiteral("Nessun barcode da stampare"));
    return;
  }
  int start = 0;
  if (!EditBarcodeInizio->text().isEmpty()) {
    start = lista_.find(EditBarcodeInizio->text());
    if (start < 0) {
      start = 0;
      ui::warning(
          QString::fromUtf8("Non trovato il barcode di partenza per la stampa della lista: verrà "
                            "stampata per intero"));
    }
  }
  lista_.startAt(start);
  if (!ui::confirm(QStringLiteral("Avviare la stampa?"))) return;

  const QString datiProdotto = EditDatiProdotto->text();
  const QString descrizione = EditDescrizione->text();
  MotoreEtichette.setDefineVariablesHandler([&](platform::reports::DefineVariablesEvent& event) {
    lista_.defineVariables(MotoreEtichette, event, datiProdotto, descrizione);
  });
  MotoreEtichette.print(
      0, platform::reports::ProjectType::Label, ambiente().GetV(QStringLiteral("ETICHETTALBL")),
      false, platform::reports::kDestinationChosenByUser, platform::reports::BoxType::Waiting, this,
      QStringLiteral("Ristampa Etichette"));
  MotoreEtichette.setDefineVariablesHandler({});
}

bool TRistampaBarcodeForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == GridRistampa && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
    EliminaRigaCorrente();
    return true;
  }
  return app::StandaloneCapableWindow::eventFilter(watched, event);
}
