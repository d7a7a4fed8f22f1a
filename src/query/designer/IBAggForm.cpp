#include "query/designer/IBAggForm.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "grid/RadioGroup.h"
#include "query/designer/DatabaseTables.h"
#include "query/designer/DesignerWidgets.h"
#include "query/designer/ListNavigator.h"
#include "query/designer/ListTabForm.h"
#include "ui/Prompter.h"

namespace model = query::model;

namespace {

constexpr int kWidth = 640;
constexpr int kNarrowHeight = 120;
constexpr int kJoinHeight = 535;
constexpr int kJoinTop = 157;

}  // namespace

TIBAggForm::TIBAggForm(QWidget* owner, const QString& ditta, const QString& tabella,
                       model::RowList& rows, db::Database& database, db::Transaction& transaction)
    : ui::ModalDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                 Qt::WindowCloseButtonHint),
      rows_(rows),
      database_(database),
      transaction_(transaction),
      editNomeTabella_(new QLineEdit(this)),
      joinPart_(new QWidget(this)),
      campiPrincipale_(new QComboBox(joinPart_)),
      campiCollegata_(new QComboBox(joinPart_)),
      gridCollegamenti_(query::designer::linesTable(
          QStringLiteral("GridCollegamenti"),
          {QStringLiteral("NomeCampo1"), QStringLiteral("NomeCampo2")}, joinPart_)),
      gridCampi_(query::designer::linesTable(QStringLiteral("GridCampi"),
                                             {QStringLiteral("NomeCampo"), QStringLiteral("M")},
                                             joinPart_)),
      radioModalitaJoin_(new TRadioGroup(QStringLiteral("Modalità Join"), joinPart_)) {
  setObjectName(QStringLiteral("IBAggForm"));
  setWindowTitle(QStringLiteral("Aggiungi tabella - Ditta: ") + ditta);
  Q_UNUSED(tabella);  // the query side is whatever field rows the designer holds

  // The table choice.
  auto* scegli = query::designer::namedButton(QStringLiteral("ButtonTabella"),
                                              QStringLiteral("Tabella da aggiungere"), this);
  auto* chiudi =
      query::designer::namedButton(QStringLiteral("ButtonChiudi"), QStringLiteral("Ch&iudi"), this);
  editNomeTabella_->setObjectName(QStringLiteral("EditNomeTabella"));
  editNomeTabella_->setReadOnly(true);
  auto* top = new QHBoxLayout;
  top->addWidget(scegli);
  top->addWidget(editNomeTabella_, 1);
  top->addWidget(chiudi);

  // The join part.
  joinPart_->setObjectName(QStringLiteral("PanelJoin"));
  campiPrincipale_->setObjectName(QStringLiteral("EditNomeCampiTabPrincipale"));
  campiCollegata_->setObjectName(QStringLiteral("EditNomeCampiTabCollegata"));
  for (const model::Row& row : rows_.rows())
    if (row.mostra == model::Mostra::Hidden || row.mostra == model::Mostra::Shown)
      campiPrincipale_->addItem(row.nome);
  campiPrincipale_->setCurrentIndex(-1);
  gridCollegamenti_->setColumnWidth(0, 25 * fontMetrics().averageCharWidth());
  gridCampi_->setColumnWidth(1, 3 * fontMetrics().averageCharWidth());
  gridCampi_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  gridCampi_->installEventFilter(this);

  auto* impostazione = new QGroupBox(QStringLiteral("Impostazione Join"), joinPart_);
  auto* aggiungi = query::designer::namedButton(
      QStringLiteral("ButtonAggiungi"), QStringLiteral("Aggiungi alla tabella"), impostazione);
  auto* keys = new QGridLayout(impostazione);
  keys->addWidget(new QLabel(QStringLiteral("Campi tabella principale"), impostazione), 0, 0);
  keys->addWidget(new QLabel(QStringLiteral("Campi tabella collegata"), impostazione), 0, 1);
  keys->addWidget(campiPrincipale_, 1, 0);
  keys->addWidget(campiCollegata_, 1, 1);
  keys->addWidget(aggiungi, 2, 0, 1, 2);
  keys->addWidget(gridCollegamenti_, 3, 0, 1, 2);
  auto* keysNavigator = new query::designer::ListNavigator(QStringLiteral("NavigatorCollegamenti"),
                                                           gridCollegamenti_, true, impostazione);
  keys->addWidget(keysNavigator, 4, 0, 1, 2);

  auto* riporta = query::designer::namedButton(QStringLiteral("ButtonRiporta"),
                                               QStringLiteral("&Riporta"), joinPart_);
  auto* annulla = query::designer::namedButton(QStringLiteral("ButtonAnnulla"),
                                               QStringLiteral("&Annulla"), joinPart_);
  auto* seleziona = query::designer::namedButton(QStringLiteral("ButtonSelezionaTutto"),
                                                 QStringLiteral("&Seleziona Tutto"), joinPart_);
  auto* deseleziona = query::designer::namedButton(QStringLiteral("ButtonDeselezionaTutto"),
                                                   QStringLiteral("&Deseleziona Tutto"), joinPart_);
  radioModalitaJoin_->setObjectName(QStringLiteral("RadioModalitaJoin"));
  radioModalitaJoin_->setItems({QStringLiteral("Left"), QStringLiteral("Right (con buchi)"),
                                QStringLiteral("Left (con condizioni prima)")});
  radioModalitaJoin_->setItemIndex(0);
  auto* nota = new QLabel(
      QStringLiteral("Nota: nel terzo caso le condizioni prima possono filtrare vari record in "
                     "tabella2, aumentando il numero buchi finale sui campi provenienti da "
                     "tabella2"),
      joinPart_);
  nota->setObjectName(QStringLiteral("LabelNota"));
  nota->setWordWrap(true);

  auto* fieldsColumn = new QVBoxLayout;
  fieldsColumn->addWidget(new QLabel(QStringLiteral("Campi da riportare:"), joinPart_));
  fieldsColumn->addWidget(gridCampi_, 1);
  fieldsColumn->addWidget(new query::designer::ListNavigator(QStringLiteral("NavigatorCampi"),
                                                             gridCampi_, false, joinPart_));
  auto* selection = new QHBoxLayout;
  selection->addWidget(seleziona);
  selection->addWidget(deseleziona);
  fieldsColumn->addLayout(selection);

  auto* upper = new QHBoxLayout;
  upper->addWidget(impostazione, 3);
  upper->addLayout(fieldsColumn, 2);
  auto* lower = new QHBoxLayout;
  lower->addWidget(radioModalitaJoin_);
  lower->addWidget(nota, 1);
  auto* actions = new QVBoxLayout;
  actions->addWidget(riporta);
  actions->addWidget(annulla);
  lower->addLayout(actions);
  auto* join = new QVBoxLayout(joinPart_);
  join->setContentsMargins(0, 0, 0, 0);
  join->addLayout(upper, 1);
  join->addLayout(lower);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(joinPart_, 1);
  layout->addStretch();
  joinPart_->hide();
  setFixedSize(kWidth, kNarrowHeight);
  setCancelButton(chiudi);
  setFirstFocus(editNomeTabella_);

  connect(scegli, &QPushButton::clicked, this, &TIBAggForm::chooseTable);
  connect(chiudi, &QPushButton::clicked, this, [this] { done(ui::ResultCancel); });
  connect(editNomeTabella_, &QLineEdit::textChanged, this, &TIBAggForm::tableNameChanged);
  connect(aggiungi, &QPushButton::clicked, this, &TIBAggForm::addKeyPair);
  connect(gridCampi_, &QTableWidget::cellDoubleClicked, this,
          [this](int row, int) { toggleField(row); });
  connect(seleziona, &QPushButton::clicked, this, [this] { setAllFields(1); });
  connect(deseleziona, &QPushButton::clicked, this, [this] { setAllFields(0); });
  connect(annulla, &QPushButton::clicked, this, [this] {
    showJoinPart(false);
    editNomeTabella_->setFocus();
  });
  connect(riporta, &QPushButton::clicked, this, &TIBAggForm::riporta);
  connect(keysNavigator, &query::designer::ListNavigator::removeRequested, this, [this](int row) {
    keys_.removeAt(row);
    refreshKeys();
  });
}

void TIBAggForm::chooseTable() {
  TListTabForm list(database_, transaction_, this);
  if (ui::runDialog(list) != ui::ResultOk) return;
  const QString name = list.selectedTable();
  if (!name.isEmpty()) editNomeTabella_->setText(name);
}

void TIBAggForm::tableNameChanged() {
  campiCollegata_->clear();
  const QString name = editNomeTabella_->text();
  if (name.isEmpty() || name == QStringLiteral("*.db")) {
    editNomeTabella_->setFocus();
    return;
  }
  if (model::joinedAsLeft(rows_, name)) {
    ui::warning(QStringLiteral("Tabella gia presente nella Query!"));
    editNomeTabella_->clear();
    return;
  }
  const std::optional<QStringList> fields =
      query::designer::tableFields(database_, transaction_, name);
  if (!fields) {
    // The refusal was shown; nothing of the unknown table may be brought over.
    fields_.clear();
    keys_.clear();
    refreshFields();
    refreshKeys();
    showJoinPart(false);
    const QSignalBlocker quiet(editNomeTabella_);
    editNomeTabella_->clear();
    editNomeTabella_->setFocus();
    return;
  }
  campiCollegata_->addItems(*fields);
  campiCollegata_->setCurrentIndex(-1);
  fields_.clear();
  for (const QString& field : *fields) fields_.append(FieldChoice{field, 0});
  keys_.clear();
  refreshFields();
  refreshKeys();
  showJoinPart(true);
}

void TIBAggForm::showJoinPart(bool shown) {
  joinPart_->setVisible(shown);
  setFixedSize(kWidth, shown ? kJoinHeight : kNarrowHeight);
  if (shown) move(x(), kJoinTop);
}

void TIBAggForm::addKeyPair() {
  const QString querySide = campiPrincipale_->currentText();
  const QString joined = campiCollegata_->currentText();
  if (querySide.isEmpty() || joined.isEmpty()) return;
  if (model::addKeyPair(keys_, {querySide, joined})) refreshKeys();
}

void TIBAggForm::toggleField(int row) {
  if (row < 0 || row >= fields_.size()) return;
  fields_[row].mostra = fields_[row].mostra == 1 ? 0 : 1;
  refreshFields();
  gridCampi_->setCurrentCell(row, 0);
}

void TIBAggForm::setAllFields(int mostra) {
  for (FieldChoice& field : fields_) field.mostra = mostra;
  refreshFields();
}

void TIBAggForm::refreshKeys() {
  gridCollegamenti_->setRowCount(keys_.size());
  for (int i = 0; i < keys_.size(); ++i) {
    gridCollegamenti_->setItem(i, 0, new QTableWidgetItem(keys_.at(i).querySide));
    gridCollegamenti_->setItem(i, 1, new QTableWidgetItem(keys_.at(i).joined));
  }
}

void TIBAggForm::refreshFields() {
  gridCampi_->setRowCount(fields_.size());
  // Fields brought over stand out on the colour of the designer's shown rows.
  const QColor marked = QApplication::palette().color(QPalette::Highlight);
  for (int i = 0; i < fields_.size(); ++i) {
    auto* name = new QTableWidgetItem(fields_.at(i).nomeCampo);
    auto* mark = new QTableWidgetItem(QString::number(fields_.at(i).mostra));
    if (fields_.at(i).mostra == 1) {
      for (QTableWidgetItem* item : {name, mark}) {
        item->setBackground(marked);
        item->setForeground(QColor(Qt::black));
      }
    }
    gridCampi_->setItem(i, 0, name);
    gridCampi_->setItem(i, 1, mark);
  }
}

void TIBAggForm::riporta() {
  model::TableJoin join;
  join.table = editNomeTabella_->text();
  const int mode = radioModalitaJoin_->ItemIndex();
  join.mode = mode == 1   ? model::JoinMode::Right
              : mode == 2 ? model::JoinMode::LeftConditionsFirst
                          : model::JoinMode::Left;
  join.keys = keys_;
  for (const FieldChoice& field : fields_)
    if (field.mostra == 1) join.fields << field.nomeCampo;
  const QString refusal = model::joinRefusal(join);
  if (!refusal.isEmpty()) {
    ui::warning(refusal);
    return;
  }
  model::appendTableJoin(rows_, join);
  done(ui::ResultOk);
}

bool TIBAggForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == gridCampi_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_F3) {
    toggleField(gridCampi_->currentRow());
    return true;
  }
  return ui::ModalDialog::eventFilter(watched, event);
}
