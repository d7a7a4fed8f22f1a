#include "labels/RistampaBarcode1Form.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdint>
#include <optional>

#include "core/Cp1252.h"
#include "core/Paths.h"
#include "core/SqlText.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "env/SiblingLibrary.h"
#include "env/TabX.h"
#include "grid/QuovGrid.h"
#include "labels/BarcodeDecoder.h"
#include "labels/ReprintPrintTable.h"
#include "labels/VopraDocument.h"
#include "platform/printing/DefaultPrinter.h"
#include "ui/Prompter.h"

namespace {

QLineEdit* box(QWidget* parent, const char* name, int maxLength) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  if (maxLength > 0) edit->setMaxLength(maxLength);
  return edit;
}

// A caption button that only moves the focus to its box.
QPushButton* caption(QWidget* parent, const QString& text, QLineEdit* target) {
  auto* button = new QPushButton(text, parent);
  button->setFocusPolicy(Qt::NoFocus);
  QObject::connect(button, &QPushButton::clicked, target, [target] { target->setFocus(); });
  return button;
}

}  // namespace

TRistampaBarcode1Form::TRistampaBarcode1Form(QWidget* owner, std::unique_ptr<TTabXForm> ambiente)
    : app::StandaloneCapableWindow(owner, std::move(ambiente),
                                   QStringLiteral("Ristampa barcode - Ditta:")) {
  setObjectName(QStringLiteral("RistampaBarcode1Form"));
  MemTabRistampa.addField(QStringLiteral("NRIGA"), db::FieldType::Integer);
  MemTabRistampa.addField(QStringLiteral("BARCODE"), db::FieldType::String, 40);
  MemTabRistampa.addField(QStringLiteral("CODICE"), db::FieldType::String, 15);
  MemTabRistampa.addField(QStringLiteral("DESCRIZIONE"), db::FieldType::String, 30);
  MemTabRistampa.addField(QStringLiteral("MODELLO"), db::FieldType::String, 10);
  MemTabRistampa.addField(QStringLiteral("VARIANTE"), db::FieldType::String, 10);
  MemTabRistampa.addField(QStringLiteral("TAGLIA"), db::FieldType::String, 5);
  MemTabRistampa.open();
  buildControls();

  TTabXForm& env = this->ambiente();
  nomeReport_ = env.GetV(QStringLiteral("StRistampaBarcode1"));
  stampanteDocumenti_ = leggiStampante(QStringLiteral("StampanteDefaultDoc"));
  stampanteEtichette_ = leggiStampante(QStringLiteral("StampanteEtichetteArt"));
  stampanteIniziale_ = platform::printing::defaultPrinterEntry();

  // Tables of this user's windows that ended without closing are recognised
  // by their name and by the connection that made them no longer existing.
  labels::ReprintPrintTable::dropLeftovers(env);
  try {
    tabella_ = std::make_unique<labels::ReprintPrintTable>(env);
    if (tabella_->drop()) tabellaCreata_ = tabella_->create();
  } catch (const db::DbError& error) {
    ui::error(error.text());
  }

  const QString icon =
      core::nativePath(core::hostDirectory() + QStringLiteral("Grafica\\ZELMINA7.ICO"));
  if (QFileInfo::exists(icon)) setWindowIcon(QIcon(icon));
}

TRistampaBarcode1Form::~TRistampaBarcode1Form() {
  if (tabella_ && !tabellaEliminata_) {
    try {
      tabella_->drop();
    } catch (...) {
      // The window is going; a table left behind is dropped by the next one.
    }
  }
}

QString TRistampaBarcode1Form::tabellaStampa() const {
  return tabella_ && tabellaCreata_ ? tabella_->name() : QString();
}

void TRistampaBarcode1Form::buildControls() {
  auto* layout = new QVBoxLayout(this);
  auto* fields = new QGridLayout;
  layout->addLayout(fields);

  editBarcode_ = box(this, "EditBarcode", 40);
  editCodice_ = box(this, "EditCodice", 40);
  editDescrizione_ = box(this, "EditDescrizione", 40);
  editBarcodeInizio_ = box(this, "EditBarcodeInizio", 40);
  editModello_ = box(this, "EditModello", 0);
  editVariante_ = box(this, "EditVariante", 0);
  editTaglia_ = box(this, "EditTaglia", 0);

  auto* decodifica = new QPushButton(QStringLiteral("Decodifica"), this);
  decodifica->setObjectName(QStringLiteral("ButtonDecodifica"));
  connect(decodifica, &QPushButton::clicked, this, [this] { Decodifica(); });

  fields->addWidget(caption(this, QStringLiteral("Barcode"), editBarcode_), 0, 0);
  fields->addWidget(editBarcode_, 1, 0);
  fields->addWidget(decodifica, 1, 1);
  fields->addWidget(
      new QLabel(QStringLiteral("Riselezionare un barcode della lista per eliminarlo"), this), 2,
      0);
  fields->addWidget(caption(this, QStringLiteral("Codice"), editCodice_), 3, 0);
  fields->addWidget(editCodice_, 4, 0);
  fields->addWidget(caption(this, QStringLiteral("Descrizione"), editDescrizione_), 5, 0);
  fields->addWidget(editDescrizione_, 6, 0);
  auto* details = new QHBoxLayout;
  for (auto [text, edit] :
       {std::pair{"Modello", editModello_}, std::pair{"Variante", editVariante_},
        std::pair{"Taglia", editTaglia_}}) {
    details->addWidget(new QLabel(QString::fromLatin1(text), this));
    details->addWidget(edit);
  }
  fields->addLayout(details, 7, 0, 1, 2);
  fields->addWidget(
      caption(this, QStringLiteral("Stampa lista a partire dal barcode"), editBarcodeInizio_), 8,
      0);
  fields->addWidget(editBarcodeInizio_, 9, 0);

  layout->addWidget(new QLabel(
      QStringLiteral(
          "Scorrere la griglia e premere Canc per eliminare manualmente un barcode dalla lista"),
      this));
  grid_ = new TQuovGrid(this);
  grid_->setObjectName(QStringLiteral("GridRistampa"));
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->SetSorgenteDati(&MemTabRistampa);
  grid_->installEventFilter(this);
  grid_->viewport()->installEventFilter(this);
  layout->addWidget(grid_);

  auto* buttons = new QHBoxLayout;
  auto* stampa = new QPushButton(QStringLiteral("&Stampa"), this);
  stampa->setObjectName(QStringLiteral("ButtonStampa"));
  connect(stampa, &QPushButton::clicked, this, [this] { Stampa(); });
  auto* chiudi = new QPushButton(QStringLiteral("&Chiudi"), this);
  chiudi->setObjectName(QStringLiteral("ButtonChiudi"));
  connect(chiudi, &QPushButton::clicked, this, &QWidget::close);
  buttons->addStretch();
  buttons->addWidget(stampa);
  buttons->addWidget(chiudi);
  layout->addLayout(buttons);

  editBarcode_->installEventFilter(this);
}

QString TRistampaBarcode1Form::leggiStampante(const QString& nome) {
  TTabXForm& env = ambiente();
  try {
    db::Query query(env.IBDatabase1, env.IBTransaction1);
    query.sql << QStringLiteral("SELECT TESTO FROM TABX")
              << QStringLiteral("WHERE (NOME=") + core::sqlString(nome) + ')'
              << QStringLiteral("AND(UTENTE='") +
                     core::sqlValue(QString::number(env.GetNumUser())) + QStringLiteral("')");
    query.open();
    return query.isEof() ? QString() : query.text(QStringLiteral("TESTO"));
  } catch (const db::DbError& error) {
    ui::error(error.text());
    return {};
  }
}

bool TRistampaBarcode1Form::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editBarcode_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      invioBarcode();
      return true;
    }
  } else if (watched == grid_ && event->type() == QEvent::KeyPress) {
    if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
      eliminaRigaCorrente();
      return true;
    }
  } else if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    const int row = grid_->currentIndex().isValid() ? grid_->currentIndex().row() : 0;
    if (MemTabRistampa.rowCount() > 0 && MemTabRistampa.setCurrentRow(row))
      editBarcodeInizio_->setText(MemTabRistampa.text(QStringLiteral("BARCODE")));
    return true;
  }
  return app::StandaloneCapableWindow::eventFilter(watched, event);
}

void TRistampaBarcode1Form::svuotaDecodifica(bool ancheCodice) {
  if (ancheCodice) {
    editCodice_->clear();
    editTaglia_->clear();
  }
  editModello_->clear();
  editVariante_->clear();
  editDescrizione_->clear();
}

void TRistampaBarcode1Form::Decodifica() {
  TTabXForm& env = ambiente();
  labels::DecodedArticle article;
  try {
    article = labels::decodeBarcode(env.IBDatabase1, env.IBTransaction1, editBarcode_->text());
  } catch (const db::DbError& error) {
    ui::error(error.text());
    return;
  }
  using Outcome = labels::DecodedArticle::Outcome;
  switch (article.outcome) {
    case Outcome::EmptyBarcode:
      ui::plain(QStringLiteral("Devi inserire un barcode non vuoto!"));
      svuotaDecodifica(true);
      return;
    case Outcome::NeverMoved:
      ui::plain(QStringLiteral("Barcode mai movimentato!"));
      svuotaDecodifica(true);
      return;
    case Outcome::NotInMasterData:
      editCodice_->setText(article.codice);
      editTaglia_->setText(article.taglia);
      ui::plain(QStringLiteral("Prodotto non presente nell' anagrafica di magazzino!"));
      svuotaDecodifica(false);
      return;
    case Outcome::Decoded:
      editCodice_->setText(article.codice);
      editTaglia_->setText(article.taglia);
      editModello_->setText(article.modello);
      editVariante_->setText(article.variante);
      editDescrizione_->setText(article.descrizione);
      return;
  }
}

void TRistampaBarcode1Form::invioBarcode() {
  const QString barcode = editBarcode_->text();
  // Enter on an empty box (a stray key or a scanner's empty read) would add
  // a label without a barcode.
  if (barcode.isEmpty()) return;
  if (MemTabRistampa.locate({QStringLiteral("BARCODE")}, {barcode})) {
    if (ui::confirm(QStringLiteral("Eliminare dalla lista di stampa il barcode %1?").arg(barcode)))
      MemTabRistampa.remove();
    editBarcode_->clear();
    return;
  }
  // The list cuts values to its fields' lengths.
  const auto cut = [](const QString& text, int length) { return text.left(length); };
  MemTabRistampa.append();
  MemTabRistampa.setValue(QStringLiteral("NRIGA"), ++ultimaRiga_);
  MemTabRistampa.setValue(QStringLiteral("BARCODE"), cut(barcode, 40));
  MemTabRistampa.setValue(QStringLiteral("CODICE"), cut(editCodice_->text(), 15));
  MemTabRistampa.setValue(QStringLiteral("DESCRIZIONE"), cut(editDescrizione_->text(), 30));
  MemTabRistampa.setValue(QStringLiteral("MODELLO"), cut(editModello_->text(), 10));
  MemTabRistampa.setValue(QStringLiteral("VARIANTE"), cut(editVariante_->text(), 10));
  MemTabRistampa.setValue(QStringLiteral("TAGLIA"), cut(editTaglia_->text(), 5));
  MemTabRistampa.post();
  editBarcode_->clear();
  editCodice_->clear();
  svuotaDecodifica(true);
}

void TRistampaBarcode1Form::eliminaRigaCorrente() {
  if (MemTabRistampa.rowCount() == 0) return;
  const int row = grid_->currentIndex().isValid() ? grid_->currentIndex().row() : 0;
  if (!MemTabRistampa.setCurrentRow(row)) return;
  if (ui::confirm(QStringLiteral("Eliminare dalla lista di stampa il barcode %1?")
                      .arg(MemTabRistampa.text(QStringLiteral("BARCODE")))))
    MemTabRistampa.remove();
}

bool TRistampaBarcode1Form::preparaStampa(int& primaRiga) {
  MemTabRistampa.first();
  if (MemTabRistampa.rowCount() == 0) {
    ui::warning(QStringLiteral("Nessun barcode da stampare"));
    return false;
  }
  primaRiga = 0;
  const QString inizio = editBarcodeInizio_->text();
  if (!inizio.isEmpty()) {
    if (MemTabRistampa.locate({QStringLiteral("BARCODE")}, {inizio})) {
      primaRiga = MemTabRistampa.currentRow();
    } else {
      MemTabRistampa.first();
      ui::warning(
          QStringLiteral("Non trovato il barcode di partenza per la stampa della lista: "
                         "verrà stampata per intero"));
    }
  }
  return ui::confirm(QStringLiteral("Avviare la stampa?"));
}

void TRistampaBarcode1Form::Stampa() {
  int primaRiga = 0;
  if (!preparaStampa(primaRiga)) return;

  QString stampante = stampanteEtichette_;
  if (stampante.isEmpty()) stampante = stampanteDocumenti_;
  if (stampante.isEmpty()) stampante = stampanteIniziale_;
  // The chosen printer is the default one for the print only; the switch
  // writes the previous entry back on every way out of this function.
  std::optional<platform::printing::DefaultPrinterSwitch> cambio;
  if (stampante != stampanteIniziale_) {
    cambio.emplace(stampante);
    if (!cambio->ok()) {
      ui::error(cambio->error());
      return;
    }
  }

  if (!tabella_ || !tabellaCreata_) {
    ui::error(QStringLiteral(
        "Errore interno durante la creazione della tabella di appoggio per la stampa"));
    return;
  }
  std::vector<labels::ReprintRow> righe;
  righe.reserve(static_cast<std::size_t>(MemTabRistampa.rowCount()));
  for (int row = 0; row < MemTabRistampa.rowCount(); ++row) {
    MemTabRistampa.setCurrentRow(row);
    righe.push_back({MemTabRistampa.text(QStringLiteral("BARCODE")),
                     MemTabRistampa.text(QStringLiteral("CODICE")),
                     MemTabRistampa.text(QStringLiteral("DESCRIZIONE")),
                     MemTabRistampa.text(QStringLiteral("MODELLO")),
                     MemTabRistampa.text(QStringLiteral("VARIANTE")),
                     MemTabRistampa.text(QStringLiteral("TAGLIA"))});
  }
  MemTabRistampa.setCurrentRow(primaRiga);
  bool riempita = false;
  try {
    riempita = tabella_->fill(righe, static_cast<std::size_t>(primaRiga));
  } catch (const db::DbError& error) {
    ui::error(error.text());
  }
  if (riempita) chiamaVopra();
  if (cambio && !cambio->restore()) ui::error(cambio->error());
}

void TRistampaBarcode1Form::chiamaVopra() {
  TTabXForm& env = ambiente();
  const QByteArray documento = core::toCp1252(
      labels::reprintDocument(nomeReport_, env.GetV(QStringLiteral("TempDir")), tabella_->name()));
  const std::int32_t utente = env.GetNumUser();
  const env::SiblingCallResult result =
      env::callSiblingOnce(QStringLiteral("Vopra.dll"), QStringLiteral("ShowVopra11UniFormD"),
                           [&](QFunctionPointer entry) {
                             reinterpret_cast<void (*)(std::int32_t, std::int32_t, const char*)>(
                                 entry)(utente, 0, documento.constData());
                           });
  if (result == env::SiblingCallResult::Failed)
    ui::error(QStringLiteral("Errore nell'accesso alla DLL Vopra"));
}

void TRistampaBarcode1Form::closeEvent(QCloseEvent* event) {
  if (isStandalone() && tabella_ && !tabellaEliminata_) {
    tabellaEliminata_ = true;
    try {
      tabella_->drop();
    } catch (const db::DbError& error) {
      ui::error(error.text());
    }
  }
  app::StandaloneCapableWindow::closeEvent(event);
}
