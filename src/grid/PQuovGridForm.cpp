#include "grid/PQuovGridForm.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include "core/SqlText.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "grid/ColorCode.h"
#include "ui/Prompter.h"

namespace grid {

namespace {

// The rows' grid: an edit still open in a cell can be finished on demand,
// as leaving the row or closing the window does.
class RowsView : public QTableView {
 public:
  using QTableView::QTableView;

  void finishEditing() {
    if (state() != EditingState) return;
    for (QWidget* editor : viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      commitData(editor);
      closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
  }
};

// The colour cell: a swatch of the stored colour (the system window colour
// for none), no text.
class ColorSwatchDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const qint64 code = index.data(Qt::EditRole).toLongLong();
    const QColor fill =
        code != 0 ? colorFromCode(code, option.palette) : option.palette.color(QPalette::Base);
    painter->fillRect(option.rect, fill);
    if (option.state & QStyle::State_HasFocus) {
      painter->setPen(option.palette.color(QPalette::Text));
      painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
  }
};

QString literal(const QVariant& value, bool text) {
  if (value.isNull() || (!text && value.toString().isEmpty())) return QStringLiteral("NULL");
  if (text) return core::sqlString(value.toString());
  return QString::number(value.toLongLong());
}

// A colour as the layout table stores it: signed 32-bit, or NULL.
QString colorLiteral(const QVariant& value) {
  if (value.isNull() || value.toString().isEmpty()) return QStringLiteral("NULL");
  return QString::number(storedColor(value.toLongLong()));
}

}  // namespace

void LayoutRowsModel::setRows(std::vector<Row> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
}

void LayoutRowsModel::setValue(int row, Column column, const QVariant& value) {
  setData(index(row, column), value, Qt::EditRole);
}

void LayoutRowsModel::markWritten(int row) {
  if (row >= 0 && row < rowCount()) rows_[static_cast<std::size_t>(row)].changed = false;
}

void LayoutRowsModel::forgetChanges() {
  for (Row& row : rows_) row.changed = false;
}

int LayoutRowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int LayoutRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : ColumnCount;
}

QVariant LayoutRowsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const Row& row = rows_[static_cast<std::size_t>(index.row())];
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  switch (index.column()) {
    case NomeCampo:
      return row.nomeCampo;
    case NomeColonna:
      return row.nomeColonna.isNull() ? QVariant(QString()) : row.nomeColonna;
    case ColoreColonna:
      return role == Qt::EditRole ? row.coloreColonna : QVariant();
    case Visibile:
      return row.visibile;
    case Posizione:
      return row.posizione;
    default:
      return {};
  }
}

bool LayoutRowsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  Row& row = rows_[static_cast<std::size_t>(index.row())];
  switch (index.column()) {
    case NomeColonna:
      row.nomeColonna = value;
      break;
    case ColoreColonna:
      row.coloreColonna = value;
      break;
    case Visibile:
      row.visibile = value.isNull() || value.toString().isEmpty() ? QVariant() : value.toInt();
      break;
    default:
      return false;
  }
  row.changed = true;
  emit dataChanged(index, index);
  return true;
}

Qt::ItemFlags LayoutRowsModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.column() == NomeColonna || index.column() == Visibile) flags |= Qt::ItemIsEditable;
  return flags;
}

QVariant LayoutRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
    return QAbstractTableModel::headerData(section, orientation, role);
  static const char* const names[] = {"NomeCampo", "NomeColonna", "ColoreColonna", "Visibile",
                                      "Posizione"};
  return section >= 0 && section < ColumnCount ? QString::fromLatin1(names[section]) : QVariant();
}

}  // namespace grid

// The window uses the layout model and the helpers above.
using namespace grid;

TPQuovGridForm::TPQuovGridForm(QWidget* parent, const QString& tabellaAspetto, int codiceProgetto,
                               int utente, int situazione, db::Database& database)
    : QDialog(parent),
      tabella_(tabellaAspetto),
      keys_{situazione, utente, codiceProgetto},
      database_(database),
      transaction_(std::make_unique<db::Transaction>(database)),
      model_(new LayoutRowsModel(this)) {
  setObjectName(QStringLiteral("PQuovGridForm"));
  setModal(true);

  DBGrid1 = new RowsView(this);
  DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
  DBGrid1->setModel(model_);
  DBGrid1->setItemDelegateForColumn(LayoutRowsModel::ColoreColonna,
                                    new ColorSwatchDelegate(DBGrid1));
  DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex&, const QModelIndex& previous) {
            if (previous.isValid()) registra(previous.row());
          });

  const auto button = [this](const QString& caption, const char* name) {
    auto* result = new QPushButton(caption, this);
    result->setObjectName(QString::fromLatin1(name));
    result->setAutoDefault(false);
    return result;
  };
  ButtonCambiaColore = button(QStringLiteral("Cambia Colore"), "ButtonCambiaColore");
  ButtonColoreDefault = button(QStringLiteral("Colore Default"), "ButtonColoreDefault");
  ButtonAspettoBase = button(QStringLiteral("Aspetto Base"), "ButtonAspettoBase");
  ButtonChiudi = button(QStringLiteral("Ch&iudi"), "ButtonChiudi");
  connect(ButtonCambiaColore, &QPushButton::clicked, this, &TPQuovGridForm::cambiaColore);
  connect(ButtonColoreDefault, &QPushButton::clicked, this, &TPQuovGridForm::coloreDefault);
  connect(ButtonAspettoBase, &QPushButton::clicked, this, [this] {
    if (OnAspettoBase) OnAspettoBase();
  });
  connect(ButtonChiudi, &QPushButton::clicked, this, &TPQuovGridForm::chiudi);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ButtonCambiaColore);
  buttons->addWidget(ButtonColoreDefault);
  buttons->addWidget(ButtonAspettoBase);
  buttons->addStretch();
  buttons->addWidget(ButtonChiudi);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(DBGrid1, 1);
  layout->addLayout(buttons);
  resize(560, 360);

  CaricaGriglia();
}

TPQuovGridForm::~TPQuovGridForm() = default;

QStringList TPQuovGridForm::selectStatement() const {
  return {
      QStringLiteral("SELECT NomeCampo, NomeColonna, ColoreColonna, Visibile, Posizione FROM ") +
          quotedTable(tabella_),
      QStringLiteral("WHERE (CodiceSituazione=%1)").arg(keys_.situazione),
      QStringLiteral("AND (CodiceUtente=%1)").arg(keys_.utente),
      QStringLiteral("AND (CodiceProgetto=%1)").arg(keys_.progetto)};
}

QStringList TPQuovGridForm::updateStatement(const LayoutRowsModel::Row& row) const {
  return {QStringLiteral("UPDATE ") + quotedTable(tabella_),
          QStringLiteral("SET"),
          QStringLiteral("NomeCampo=") + literal(row.nomeCampo, true) + ',',
          QStringLiteral("NomeColonna=") + literal(row.nomeColonna, true) + ',',
          QStringLiteral("ColoreColonna=") + colorLiteral(row.coloreColonna) + ',',
          QStringLiteral("Visibile=") + literal(row.visibile, false) + ',',
          QStringLiteral("Posizione=%1").arg(row.posizione),
          QStringLiteral("WHERE (CodiceSituazione=%1)").arg(keys_.situazione),
          QStringLiteral("AND(CodiceUtente=%1)").arg(keys_.utente),
          QStringLiteral("AND(Posizione=%1)").arg(row.posizione),
          QStringLiteral("AND(CodiceProgetto=%1)").arg(keys_.progetto)};
}

void TPQuovGridForm::CaricaGriglia() {
  db::Query query(database_, *transaction_);
  query.sql = selectStatement();
  query.open();
  std::vector<LayoutRowsModel::Row> rows;
  for (; !query.isEof(); query.next()) {
    LayoutRowsModel::Row row;
    row.nomeCampo = query.text(QStringLiteral("NOMECAMPO"));
    row.nomeColonna = query.value(QStringLiteral("NOMECOLONNA"));
    const QVariant color = query.value(QStringLiteral("COLORECOLONNA"));
    row.coloreColonna = color.isNull() ? color : QVariant(colorFromStored(color.toLongLong()));
    row.visibile = query.value(QStringLiteral("VISIBILE"));
    row.posizione = query.value(QStringLiteral("POSIZIONE")).toInt();
    rows.push_back(row);
  }
  model_->setRows(std::move(rows));
  DBGrid1->setColumnHidden(LayoutRowsModel::Posizione, true);
  if (model_->rowCount() > 0)
    DBGrid1->setCurrentIndex(model_->index(0, LayoutRowsModel::NomeColonna));
}

void TPQuovGridForm::annullaModifiche() {
  model_->forgetChanges();
  model_->setRows({});
  transaction_->rollback();
}

void TPQuovGridForm::registra(int row) {
  if (row < 0 || row >= model_->rowCount()) return;
  const LayoutRowsModel::Row& current = model_->rows()[static_cast<std::size_t>(row)];
  if (!current.changed) return;
  db::Query statement(database_, *transaction_);
  statement.sql = updateStatement(current);
  statement.execSql();
  model_->markWritten(row);
}

void TPQuovGridForm::registraRiga() {
  static_cast<RowsView*>(DBGrid1)->finishEditing();
  registra(DBGrid1->currentIndex().row());
}

void TPQuovGridForm::cambiaColore() {
  const int row = DBGrid1->currentIndex().row();
  if (row < 0) return;
  const qint64 code = model_->rows()[static_cast<std::size_t>(row)].coloreColonna.toLongLong();
  const QColor initial =
      code != 0 ? colorFromCode(code, palette()) : palette().color(QPalette::Base);
  const auto chosen = ui::prompter().chooseColor(this, initial);
  if (!chosen) return;
  model_->setValue(row, LayoutRowsModel::ColoreColonna, codeFromColor(*chosen));
}

void TPQuovGridForm::coloreDefault() {
  const int row = DBGrid1->currentIndex().row();
  if (row < 0) return;
  model_->setValue(row, LayoutRowsModel::ColoreColonna, QVariant());
}

void TPQuovGridForm::chiudi() {
  registraRiga();
  if (transaction_->isActive()) transaction_->commit();
  accept();
}
