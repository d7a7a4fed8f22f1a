#include "query/designer/IBCamVisForm.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

#include "query/designer/DatabaseTables.h"
#include "query/designer/DesignerWidgets.h"
#include "query/designer/ListNavigator.h"
#include "ui/Prompter.h"

namespace model = query::model;

namespace {

// A list of lines whose first column takes the width left.
QTableWidget* stretchedLinesTable(const QString& name, const QStringList& titles, QWidget* parent) {
  QTableWidget* result = query::designer::linesTable(name, titles, parent);
  result->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  return result;
}

// Paints both cells of a line black on `colour`; an invalid colour leaves the grid's own.
void paint(QTableWidgetItem* first, QTableWidgetItem* second, const QColor& colour) {
  if (!colour.isValid()) return;
  for (QTableWidgetItem* item : {first, second}) {
    item->setBackground(colour);
    item->setForeground(QColor(Qt::black));
  }
}

QColor selectionColour() {
  return QApplication::palette().color(QPalette::Highlight);
}

}  // namespace

TIBCamVisForm::TIBCamVisForm(QWidget* owner, const QString& ditta, const QString& tabella,
                             model::RowList& rows, db::Database& database,
                             db::Transaction& transaction)
    : ui::ModalDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                 Qt::WindowCloseButtonHint),
      rows_(rows),
      database_(database),
      transaction_(transaction),
      tables_(model::visibleTables(rows, tabella)),
      gridTabelle_(stretchedLinesTable(
          QStringLiteral("GridTabelle"),
          {QStringLiteral("NomeTabella"), QStringLiteral("L"), QStringLiteral("S")}, this)),
      gridCampi_(nullptr),
      fieldsPart_(new QWidget(this)),
      mostraCampi_(query::designer::namedButton(QStringLiteral("ButtonMostraCampi"),
                                                QStringLiteral("&Mostra campi"), this)),
      chiudi_(query::designer::namedButton(QStringLiteral("ButtonChiudi"),
                                           QStringLiteral("Ch&iudi"), this)) {
  setObjectName(QStringLiteral("IBCamVisForm"));
  setWindowTitle(QStringLiteral("Elaborazione Campi Visibili - Ditta: ") + ditta);
  gridTabelle_->installEventFilter(this);
  gridTabelle_->setColumnWidth(1, 24);
  gridTabelle_->setColumnWidth(2, 24);

  fieldsPart_->setObjectName(QStringLiteral("PanelCampi"));
  gridCampi_ = stretchedLinesTable(QStringLiteral("GridCampi"),
                                   {QStringLiteral("NomeCampo"), QStringLiteral("S")}, fieldsPart_);
  gridCampi_->setColumnWidth(1, 24);
  gridCampi_->installEventFilter(this);
  auto* visibili = query::designer::namedButton(QStringLiteral("ButtonRendiVisibili"),
                                                QStringLiteral("Rendi tutto vis."), fieldsPart_);
  auto* invisibili = query::designer::namedButton(
      QStringLiteral("ButtonRendiInvisibili"), QStringLiteral("Rendi tutto invis."), fieldsPart_);
  auto* aggiorna = query::designer::namedButton(QStringLiteral("ButtonAggiorna"),
                                                QStringLiteral("Aggiorna e chiudi"), fieldsPart_);
  auto* annulla = query::designer::namedButton(QStringLiteral("ButtonAnnulla"),
                                               QStringLiteral("Annulla e chiudi"), fieldsPart_);
  auto* fieldButtons = new QHBoxLayout;
  for (QPushButton* b : {visibili, invisibili, aggiorna, annulla}) fieldButtons->addWidget(b);
  auto* fields = new QVBoxLayout(fieldsPart_);
  fields->setContentsMargins(0, 0, 0, 0);
  fields->addWidget(new QLabel(QStringLiteral("CAMPI TABELLE SELEZIONATE:"), fieldsPart_));
  fields->addWidget(gridCampi_, 1);
  fields->addWidget(new query::designer::ListNavigator(QStringLiteral("NavigatorCampi"), gridCampi_,
                                                       false, fieldsPart_));
  fields->addLayout(fieldButtons);
  fieldsPart_->hide();

  auto* tableButtons = new QHBoxLayout;
  tableButtons->addWidget(mostraCampi_);
  tableButtons->addWidget(chiudi_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(gridTabelle_, 1);
  layout->addLayout(tableButtons);
  layout->addWidget(fieldsPart_, 2);
  setFixedSize(250, 300);
  setCancelButton(chiudi_);
  setFirstFocus(gridTabelle_);
  refreshTables();

  connect(gridTabelle_, &QTableWidget::cellDoubleClicked, this,
          [this](int row, int) { toggleTable(row); });
  connect(gridCampi_, &QTableWidget::cellDoubleClicked, this,
          [this](int row, int) { toggleField(row); });
  connect(mostraCampi_, &QPushButton::clicked, this, &TIBCamVisForm::mostraCampi);
  connect(chiudi_, &QPushButton::clicked, this, [this] { done(ui::ResultCancel); });
  connect(visibili, &QPushButton::clicked, this, [this] { setAllFields(true); });
  connect(invisibili, &QPushButton::clicked, this, [this] { setAllFields(false); });
  connect(aggiorna, &QPushButton::clicked, this, &TIBCamVisForm::aggiorna);
  connect(annulla, &QPushButton::clicked, this, [this] { done(ui::ResultCancel); });
}

void TIBCamVisForm::toggleTable(int row) {
  if (tablesFrozen_ || row < 0 || row >= tables_.size()) return;
  tables_[row].selezione = !tables_[row].selezione;
  refreshTables();
  gridTabelle_->setCurrentCell(row, 0);
}

void TIBCamVisForm::mostraCampi() {
  QList<QStringList> fieldsOfSelected;
  for (const model::VisibleTable& table : tables_) {
    if (!table.selezione) continue;
    // A table the database does not have stops here, its refusal shown.
    const std::optional<QStringList> fields =
        query::designer::tableFields(database_, transaction_, table.nome);
    if (!fields) return;
    fieldsOfSelected.append(*fields);
  }
  if (fieldsOfSelected.isEmpty()) {
    ui::warning(QStringLiteral("Selezionare almeno una tabella per proseguire"));
    return;
  }
  lines_ = model::fieldLines(rows_.rows(), tables_, fieldsOfSelected);
  tablesFrozen_ = true;
  gridTabelle_->setEnabled(false);
  mostraCampi_->hide();
  chiudi_->hide();
  setCancelButton(fieldsPart_->findChild<QPushButton*>(QStringLiteral("ButtonAnnulla")));
  refreshFields();
  fieldsPart_->show();
  setFixedSize(640, 480);
  if (const QScreen* screen = this->screen())
    move(screen->availableGeometry().center() - rect().center());
  gridCampi_->setFocus();
}

void TIBCamVisForm::toggleField(int row) {
  if (row < 0 || row >= lines_.size()) return;
  if (model::toggleFieldLine(lines_[row])) refreshFields();
  gridCampi_->setCurrentCell(row, 0);
}

void TIBCamVisForm::setAllFields(bool visible) {
  model::setAllFieldLines(lines_, visible);
  refreshFields();
}

void TIBCamVisForm::refreshTables() {
  gridTabelle_->setRowCount(tables_.size());
  for (int i = 0; i < tables_.size(); ++i) {
    const model::VisibleTable& table = tables_.at(i);
    auto* name = new QTableWidgetItem(table.nome);
    auto* letter = new QTableWidgetItem(table.lettera);
    auto* mark = new QTableWidgetItem(table.selezione ? QStringLiteral("1") : QStringLiteral("0"));
    if (table.selezione) {
      paint(name, letter, selectionColour());
      paint(mark, mark, selectionColour());
    }
    gridTabelle_->setItem(i, 0, name);
    gridTabelle_->setItem(i, 1, letter);
    gridTabelle_->setItem(i, 2, mark);
  }
}

void TIBCamVisForm::refreshFields() {
  gridCampi_->setRowCount(lines_.size());
  for (int i = 0; i < lines_.size(); ++i) {
    const model::FieldLine& line = lines_.at(i);
    auto* name = new QTableWidgetItem(line.nomeCampo);
    auto* mark = new QTableWidgetItem(QString::number(line.selezione));
    switch (line.selezione) {
      case model::Selezione::Listed:
        paint(name, mark, selectionColour());
        break;
      case model::Selezione::InUse:
        paint(name, mark, QColor(0x00, 0x80, 0x00));
        break;
      case model::Selezione::Header:
        paint(name, mark, QColor(0xFF, 0x00, 0x00));
        break;
      default:
        break;
    }
    gridCampi_->setItem(i, 0, name);
    gridCampi_->setItem(i, 1, mark);
  }
}

void TIBCamVisForm::aggiorna() {
  const QList<model::Row> rebuilt = model::rebuildVisibleFields(rows_.rows(), tables_, lines_);
  {
    model::InternalChange change(rows_);
    rows_.replaceAll(rebuilt);
  }
  done(ui::ResultOk);
}

bool TIBCamVisForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F3) {
    if (watched == gridTabelle_) {
      toggleTable(gridTabelle_->currentRow());
      return true;
    }
    if (watched == gridCampi_) {
      toggleField(gridCampi_->currentRow());
      return true;
    }
  }
  return ui::ModalDialog::eventFilter(watched, event);
}
