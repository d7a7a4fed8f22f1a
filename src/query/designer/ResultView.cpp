#include "query/designer/ResultView.h"

#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include "db/Query.h"
#include "query/designer/AnswerModel.h"
#include "query/designer/GraficoForm.h"
#include "query/designer/OrdETotForm.h"
#include "query/designer/PrintSources.h"
#include "query/designer/SommaForm.h"
#include "query/designer/StampaCommand.h"
#include "query/engine/AnswerAggregates.h"
#include "query/engine/DigitGrouping.h"
#include "query/engine/QueryEngine.h"
#include "query/engine/SingleRecord.h"
#include "query/engine/SortKeys.h"
#include "query/model/LayoutCopy.h"
#include "ui/Prompter.h"

namespace query::designer {

namespace {

QPushButton* barButton(const QString& name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  return button;
}

}  // namespace

ResultView::ResultView(db::Query& answer, engine::QueryEngine& engine, model::DesignerFlags& flags,
                       const DesignerSettings& settings, QWidget* parent)
    : QWidget(parent),
      answer_(answer),
      engine_(engine),
      flags_(flags),
      settings_(settings),
      model_(new AnswerModel(engine.codes(), this)),
      recordModel_(new QStandardItemModel(0, 2, this)),
      grid_(new QTableView(this)),
      printOptions_(std::make_unique<PrintOptionsKept>()) {
  recordModel_->setHorizontalHeaderLabels({QStringLiteral("NomeCampo"), QStringLiteral("Dato")});
  model_->setSource(&answer_);
  grid_->setObjectName(QStringLiteral("GridRisposta"));
  grid_->setModel(model_);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setWordWrap(false);
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
  grid_->horizontalHeader()->setSectionsMovable(true);
  grid_->installEventFilter(this);
  // A column dragged to a new place moves in the answer's columns, which
  // keep the view's order; a resize is kept so that the title follows it.
  connect(grid_->horizontalHeader(), &QHeaderView::sectionMoved, this,
          [this](int, int from, int to) {
            if (flags_.singleRecordView) return;
            QHeaderView* header = grid_->horizontalHeader();
            const QSignalBlocker blocker(header);
            header->moveSection(to, from);
            model_->moveColumn(from, to);
            showColumns();
            flags_.layoutCurrent = false;
          });
  connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this,
          [this](int column, int, int size) {
            if (flags_.singleRecordView) return;
            model_->setColumnWidth(column, size);
            model_->headerDataChanged(Qt::Horizontal, column, column);
          });

  nRec_ = barButton(QStringLiteral("ButtonNRec"), QStringLiteral("N.Rec."), this);
  font_ = barButton(QStringLiteral("ButtonFont"), {}, this);
  font_->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
  font_->setToolTip(QStringLiteral("Carattere"));
  singolo_ = barButton(QStringLiteral("ButtonUnRecord"), {}, this);
  singolo_->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
  singolo_->setToolTip(QStringLiteral("Un record"));
  somma_ = barButton(QStringLiteral("ButtonSomma"), QStringLiteral("So&mma"), this);
  ordTot_ = barButton(QStringLiteral("ButtonOrdTot"), QStringLiteral("&Ord./Tot."), this);
  grafico_ = barButton(QStringLiteral("ButtonGrafico"), QStringLiteral("&Grafico"), this);
  stampa_ = barButton(QStringLiteral("ButtonStampa"), QStringLiteral("&Stampa"), this);
  esporta_ = barButton(QStringLiteral("ButtonEsporta"), QStringLiteral("&Esporta"), this);
  ritorna_ = barButton(QStringLiteral("ButtonRitorna"), QStringLiteral("&Ritorna a Query"), this);
  chiudi_ = barButton(QStringLiteral("ButtonChiudiRisposta"), QStringLiteral("&Chiudi"), this);
  chiudi_->hide();
  barButtons_ = {singolo_, somma_, ordTot_, grafico_, stampa_, esporta_, ritorna_, chiudi_};
  connect(nRec_, &QPushButton::clicked, this, &ResultView::NumeroRecord);
  connect(font_, &QPushButton::clicked, this, &ResultView::CambiaFont);
  connect(singolo_, &QPushButton::clicked, this, &ResultView::MostraUnRecord);
  connect(somma_, &QPushButton::clicked, this, &ResultView::Somma);
  connect(ordTot_, &QPushButton::clicked, this, &ResultView::OrdinaETotali);
  connect(esporta_, &QPushButton::clicked, this, &ResultView::ButtonEsportaClick);
  connect(grafico_, &QPushButton::clicked, this, &ResultView::Grafico);
  connect(stampa_, &QPushButton::clicked, this, &ResultView::Stampa);
  connect(ritorna_, &QPushButton::clicked, this, &ResultView::ritornaAQuery);
  connect(chiudi_, &QPushButton::clicked, this, &ResultView::chiudi);

  auto* bar = new QHBoxLayout;
  bar->addWidget(nRec_);
  bar->addStretch();
  for (QPushButton* each :
       {font_, singolo_, somma_, ordTot_, grafico_, stampa_, esporta_, ritorna_, chiudi_})
    bar->addWidget(each);
  hints_ = new QWidget(this);
  auto* hints = new QHBoxLayout(hints_);
  hints->setContentsMargins(0, 0, 0, 0);
  for (const char* hint : {"F3: elimina campo", "F4: aspetto base", "F5: raggruppa cifre"})
    hints->addWidget(new QLabel(QString::fromUtf8(hint), hints_));
  hints->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(bar);
  layout->addWidget(grid_, 1);
  layout->addWidget(hints_);
}

ResultView::~ResultView() = default;

void ResultView::answerOpened() {
  flags_.layoutCurrent = false;
  printOptions_->reset();
  if (flags_.singleRecordView) showRecordView(false);
  model_->setCharacterWidth(grid_->fontMetrics().averageCharWidth());
  model_->sourceOpened();
  showColumns();
}

void ResultView::setControlsEnabled(bool enabled) {
  for (QPushButton* each : barButtons_) each->setEnabled(enabled);
}

void ResultView::showColumns() {
  const grid::GridColumns& columns = model_->columns();
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    grid_->setColumnWidth(i, columns[static_cast<size_t>(i)].width);
    grid_->setColumnHidden(i, !columns[static_cast<size_t>(i)].visible);
  }
}

QList<model::AnswerColumn> ResultView::answerColumns() const {
  QList<model::AnswerColumn> list;
  for (const grid::GridColumn& column : model_->columns())
    list << model::AnswerColumn{column.fieldName, column.caption,
                                column.width / model_->characterWidth(), column.visible};
  return list;
}

void ResultView::applyColumns(const QList<model::AnswerColumn>& layout) {
  grid::GridColumns base = model_->columns();
  grid::GridColumns applied;
  for (const model::AnswerColumn& column : layout) {
    const int at = grid::columnOfField(base, column.name);
    if (at < 0) continue;
    grid::GridColumn moved = base[static_cast<size_t>(at)];
    moved.width = column.width * model_->characterWidth();
    moved.visible = column.visible;
    applied.push_back(moved);
    base.erase(base.begin() + at);
  }
  for (const grid::GridColumn& rest : base) applied.push_back(rest);
  model_->setColumns(applied);
  showColumns();
}

bool ResultView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::KeyPress) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_F3:
        if (!flags_.singleRecordView) nascondiColonna();
        return true;
      case Qt::Key_F4:
        if (!flags_.singleRecordView) aspettoBase();
        return true;
      case Qt::Key_F5:
        if (!flags_.singleRecordView) raggruppaCifre();
        return true;
      case Qt::Key_F7:
        MostraUnRecord();
        return true;
      default:
        break;
    }
  }
  if (watched == grid_ && event->type() == QEvent::Resize && flags_.singleRecordView)
    adjustDatoWidth();
  return QWidget::eventFilter(watched, event);
}

void ResultView::nascondiColonna() {
  const int column = grid_->currentIndex().column();
  grid::GridColumns columns = model_->columns();
  if (column < 0 || column >= static_cast<int>(columns.size())) return;
  const auto visible = std::count_if(columns.begin(), columns.end(),
                                     [](const grid::GridColumn& each) { return each.visible; });
  if (visible <= 1) return;
  columns[static_cast<size_t>(column)].visible = false;
  model_->setColumns(columns);
  showColumns();
  flags_.layoutCurrent = false;
}

void ResultView::aspettoBase() {
  // Reopened as it stands: sort lines and digit grouping stay.
  try {
    model_->sourceClosing();
    answer_.close();
    answer_.open();
  } catch (const db::DbError& error) {
    ui::error(error.text());
  }
  model_->sourceOpened();
  showColumns();
  flags_.layoutCurrent = false;
}

void ResultView::raggruppaCifre() {
  const QModelIndex current = grid_->currentIndex();
  if (!current.isValid()) return;
  const int field = model_->columns().at(static_cast<size_t>(current.column())).field;
  model::AnswerCodes& codes = engine_.codes();
  codes.AggTipoRaggruppamento(field, (codes.TipoRaggruppamento(field) + 1) % 3);
  emit model_->dataChanged(model_->index(0, current.column()),
                           model_->index(model_->rowCount() - 1, current.column()));
  flags_.layoutCurrent = false;
}

void ResultView::NumeroRecord() {
  // Counted by the database: a large answer is not fetched to be counted.
  ui::information(engine::recordCountText(engine::countRows(answer_), QLocale()));
}

void ResultView::CambiaFont() {
  const std::optional<QFont> chosen = ui::prompter().chooseFont(this, grid_->font());
  if (!chosen) return;
  grid_->setFont(*chosen);
  grid_->horizontalHeader()->setFont(*chosen);
  flags_.layoutCurrent = false;
}

void ResultView::Stampa() {
  std::optional<QFont> userFont;
  if (grid_->font() != font()) userFont = grid_->font();
  if (flags_.singleRecordView) {
    QList<model::RecordField> rows;
    for (int row = 0; row < recordModel_->rowCount(); ++row)
      rows << model::RecordField{recordModel_->item(row, 0)->text(),
                                 recordModel_->item(row, 1)->text()};
    runStampa(this, *printOptions_, recordPrintSource(rows, engine_.codes()), flags_, settings_,
              userFont);
    return;
  }
  const int current = grid_->currentIndex().row();
  runStampa(
      this, *printOptions_,
      answerPrintSource(answer_, model_->columns(), model_->characterWidth(), engine_.codes()),
      flags_, settings_, userFont);
  // Back on the record that was current.
  if (current >= 0)
    grid_->setCurrentIndex(model_->index(current, std::max(0, grid_->currentIndex().column())));
}

void ResultView::MostraUnRecord() {
  flags_.layoutCurrent = false;
  showRecordView(!flags_.singleRecordView);
}

void ResultView::showRecordView(bool on) {
  flags_.singleRecordView = on;
  for (QPushButton* each : {somma_, ordTot_, esporta_, grafico_, ritorna_}) each->setVisible(!on);
  hints_->setVisible(!on);
  chiudi_->setVisible(on);
  if (!on) {
    grid_->setModel(model_);
    showColumns();
    return;
  }
  QList<engine::RecordValue> values;
  const int row = std::max(grid_->currentIndex().row(), 0);
  for (const grid::GridColumn& column : model_->columns()) {
    if (!column.visible) continue;
    values << engine::RecordValue{
        column.fieldName, column.type,
        row < answer_.rowCount() ? answer_.value(row, column.field) : QVariant(),
        engine_.codes().TipoRaggruppamento(column.field)};
  }
  const engine::RecordView view = engine::MostraUnRecord(values, QLocale());
  recordModel_->setRowCount(0);
  for (const model::RecordField& field : view.rows)
    recordModel_->appendRow({new QStandardItem(field.nomeCampo), new QStandardItem(field.dato)});
  grid_->setModel(recordModel_);
  for (int i = 0; i < 2; ++i) grid_->setColumnHidden(i, false);
  grid_->setColumnWidth(0, 31 * grid_->fontMetrics().averageCharWidth());
  adjustDatoWidth();
}

void ResultView::adjustDatoWidth() {
  const int characters = (grid_->width() - 270) / 8 + 1;
  grid_->setColumnWidth(1, std::max(characters, 1) * grid_->fontMetrics().averageCharWidth());
}

void ResultView::Somma() {
  TSommaForm dialog(settings_.ditta, settings_.directoryBin, settings_.directoryLavoro, answer_,
                    this);
  ui::runDialog(dialog);
}

void ResultView::OrdinaETotali() {
  const QList<model::LayoutRow> layout = model::SalvaAspetto(answerColumns(), engine_.codes());
  TOrdETotForm dialog(answer_, engine_.codes(), settings_.ditta, this);
  if (ui::runDialog(dialog) == 1) {
    flags_.layoutCurrent = false;
    model_->sourceClosing();
    const QString error = engine::applySortKeys(answer_, engine_);
    if (!error.isEmpty()) ui::error(error);
    model_->sourceOpened();
  }
  // Widths, hidden columns and order survive the reopening.
  QList<model::AnswerColumn> columns = answerColumns();
  model::applyLayout(layout, columns);
  applyColumns(columns);
}

void ResultView::Grafico() {
  TGraficoForm dialog(this, settings_.ditta, settings_.directoryBin, settings_.directoryLavoro,
                      answer_);
  dialog.setFont(window()->font());
  ui::runDialog(dialog);
}

}  // namespace query::designer
