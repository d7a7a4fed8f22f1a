#include "query/designer/IBLQueryForm.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "core/IniFile.h"
#include "core/Paths.h"
#include "db/Query.h"
#include "env/TabX.h"
#include "query/designer/AnswerModel.h"
#include "query/designer/CalcSommaForm.h"
#include "query/designer/ConditionEdits.h"
#include "query/designer/DesignerRowsModel.h"
#include "query/designer/EditCondForm.h"
#include "query/designer/ElabAvanCommands.h"
#include "query/designer/ElabAvanForm.h"
#include "query/designer/EliminaForm.h"
#include "query/designer/FormuleForm.h"
#include "query/designer/IBAggForm.h"
#include "query/designer/IBFQuerForm.h"
#include "query/designer/LimitedMemo.h"
#include "query/designer/RaggMesiForm.h"
#include "query/designer/RangeForm.h"
#include "query/designer/ResultView.h"
#include "query/designer/RowGrid.h"
#include "query/engine/QueryEngine.h"
#include "query/model/RowEdits.h"
#include "ui/DorviDataForm.h"
#include "ui/DorviIn1Form.h"
#include "ui/EditData.h"
#include "ui/Prompter.h"

using namespace query;

namespace {

const QString kLockedMessage =
    QStringLiteral("Attenzione: operazione non possibile, la Query è bloccata!");

QPushButton* windowButton(const QString& name, const QString& caption, QWidget* parent) {
  auto* created = new QPushButton(caption, parent);
  created->setObjectName(name);
  return created;
}

}  // namespace

TIBLQueryForm::TIBLQueryForm(db::Database& database, db::Transaction& transaction,
                             designer::DesignerSettings settings, QWidget* parent)
    : QDialog(parent),
      database_(database),
      transaction_(transaction),
      settings_(std::move(settings)),
      answer_(std::make_unique<db::Query>(database, transaction)) {
  setObjectName(QStringLiteral("IBLQueryForm"));
  setWindowTitle(QStringLiteral("Query - Ditta: ") + settings_.ditta);
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setBold(true);
  setFont(font);

  engine_ =
      std::make_unique<engine::QueryEngine>(database_, transaction_, rows_, settings_.tabella);
  engine_->setWorkArea(settings_.directoryLavoro, settings_.utente);
  engine_->setNotifier([](const QString& message) { ui::plain(message); });
  model::RiempiTabIntTmp(rows_, engine_->tableFields().fieldNames(settings_.tabella));

  pages_ = new QStackedWidget(this);
  auto* pages = pages_;
  designPage_ = new QWidget(pages);
  resultView_ = new designer::ResultView(*answer_, *engine_, flags_, settings_, pages);
  resultPage_ = resultView_;
  pages->addWidget(designPage_);
  pages->addWidget(resultPage_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(pages);
  buildDesignView(designPage_);
  buildMenu();
  connect(resultView_, &designer::ResultView::ritornaAQuery, this,
          &TIBLQueryForm::ButtonRitornaClick);
  connect(resultView_, &designer::ResultView::chiudi, this, &TIBLQueryForm::ButtonChiudiClick);
  pages->setCurrentWidget(designPage_);
  resize(900, 600);
  gridQuery_->setFocus();

  if (settings_.utente != 0) {
    // The designer's own environment, with the archive and the folder of
    // temporary tables registered for its user.
    ambiente_ = std::make_unique<TTabXForm>(nullptr, TTabXForm::ModoDatabase);
    ambiente_->SetUserPerNum(settings_.utente);
    const QString utente = QString::number(settings_.utente);
    ambiente_->Inserisci(QStringLiteral("QZV"), QStringLiteral("Archivio"), {},
                         ambiente_->CaricaParametro(QStringLiteral("Archivio")), {}, {}, {}, {},
                         utente);
    ambiente_->Inserisci(QStringLiteral("QZV"), QStringLiteral("TempDir"), {},
                         ambiente_->CaricaParametro(QStringLiteral("Directory tabelle temporanee")),
                         {}, {}, {}, {}, utente);
  }
  resultView_->setSettingsStore(
      {[this](const QString& nome) { return CaricaParametro(nome); },
       [this](const QString& nome, const QString& valore) { SalvaParametro(nome, valore); }});
  SettaggioControlli();
}

TIBLQueryForm::~TIBLQueryForm() {
  // The views and models read the rows, the answer and the engine, which
  // are members and go before the window's children would: they go first.
  resultView_->answerModel()->setSource(nullptr);
  delete pages_;
  delete rowsModel_;
  answer_->close();
  // The answer goes before the engine, which drops the work table the
  // answer may be reading.
  answer_.reset();
}

void TIBLQueryForm::buildDesignView(QWidget* page) {
  rowsModel_ = new designer::DesignerRowsModel(rows_, this);
  gridQuery_ = new designer::RowGrid(page);
  gridQuery_->setObjectName(QStringLiteral("GridQuery"));
  gridQuery_->setModel(rowsModel_);
  gridQuery_->setSelectionBehavior(QAbstractItemView::SelectRows);
  gridQuery_->setSelectionMode(QAbstractItemView::SingleSelection);
  gridQuery_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::SelectedClicked);
  gridQuery_->verticalHeader()->hide();
  gridQuery_->verticalHeader()->setDefaultSectionSize(gridQuery_->fontMetrics().height() + 6);
  gridQuery_->installEventFilter(this);
  const int character = gridQuery_->fontMetrics().averageCharWidth();
  gridQuery_->setColumnWidth(designer::DesignerRowsModel::ColumnNome, 21 * character + 8);
  gridQuery_->setColumnWidth(designer::DesignerRowsModel::ColumnMostra, 2 * character + 8);
  connect(gridQuery_, &QAbstractItemView::doubleClicked, this, [this] { TastoRighe(Qt::Key_F3); });
  if (rows_.count() > 0) gridQuery_->setCurrentIndex(rowsModel_->index(0, 0));

  buttonEsegui_ =
      windowButton(QStringLiteral("ButtonEsegui"), QStringLiteral("&Esegui Query"), page);
  buttonSeleziona_ = windowButton(QStringLiteral("ButtonSelezionaTutto"),
                                  QStringLiteral("&Seleziona Tutto"), page);
  buttonDeseleziona_ = windowButton(QStringLiteral("ButtonDeselezionaTutto"),
                                    QStringLiteral("&Deselez. Tutto"), page);
  buttonAggiungi_ = windowButton(QStringLiteral("ButtonAggiungiTabella"),
                                 QStringLiteral("&Aggiungi tabella"), page);
  buttonElimina_ = windowButton(QStringLiteral("ButtonEliminaTabella"),
                                QStringLiteral("E&limina tabella "), page);
  buttonElabAvanzate_ =
      windowButton(QStringLiteral("ButtonElabAvanzate"), QStringLiteral("Elab. a&vanzate"), page);
  buttonChiudi_ = windowButton(QStringLiteral("ButtonChiudi"), QStringLiteral("&Chiudi"), page);
  connect(buttonEsegui_, &QPushButton::clicked, this, &TIBLQueryForm::ButtonEseguiClick);
  connect(buttonSeleziona_, &QPushButton::clicked, this, &TIBLQueryForm::ButtonSelezionaTuttoClick);
  connect(buttonDeseleziona_, &QPushButton::clicked, this,
          &TIBLQueryForm::ButtonDeselezionaTuttoClick);
  connect(buttonAggiungi_, &QPushButton::clicked, this, &TIBLQueryForm::ButtonAggiungiTabellaClick);
  connect(buttonElimina_, &QPushButton::clicked, this, &TIBLQueryForm::ButtonEliminaTabellaClick);
  connect(buttonElabAvanzate_, &QPushButton::clicked, this,
          &TIBLQueryForm::ButtonElabAvanzateClick);
  connect(buttonChiudi_, &QPushButton::clicked, this, &TIBLQueryForm::ButtonChiudiClick);

  auto* side = new QVBoxLayout;
  for (QPushButton* each : {buttonEsegui_, buttonSeleziona_, buttonDeseleziona_, buttonAggiungi_,
                            buttonElimina_, buttonElabAvanzate_, buttonChiudi_})
    side->addWidget(each);
  for (const char* hint :
       {"F3 Selez/Deselez", "F4 ins.parentesi", "F5 ins.nome campo", "F6 ins. range",
        "F7 ins. formule", "F8 Estr.Anni/Mesi", "F9 Editor condiz.", "F10 Ins. valore",
        "OPERATORI:", "like, IS NULL", "<, >, =, <>", "AND, OR, NOT", "+,-,*,/",
        "FORMATO DATE:", "'gg/mm/aaaa'"})
    side->addWidget(new QLabel(QString::fromUtf8(hint), page));
  side->addStretch();
  auto* layout = new QHBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(gridQuery_, 1);
  layout->addLayout(side);
}

void TIBLQueryForm::buildMenu() {
  precedente_ = new QAction(QStringLiteral("Precedente"), this);
  precedente_->setObjectName(QStringLiteral("MenuPrecedente"));
  precedente_->setShortcut(Qt::Key_F11);
  successiva_ = new QAction(QStringLiteral("Successiva"), this);
  successiva_->setObjectName(QStringLiteral("MenuSuccessiva"));
  successiva_->setShortcut(Qt::Key_F12);
  auto* copia = new QAction(QStringLiteral("Copia Sql nel clipboard"), this);
  copia->setObjectName(QStringLiteral("MenuCopiaSql"));
  auto* somma = new QAction(QStringLiteral("Inserisci somma con raggruppamento corrente"), this);
  somma->setObjectName(QStringLiteral("MenuInserisciSomma"));
  connect(precedente_, &QAction::triggered, this, [this] {
    if (!inResultView()) ButtonChiudiClick();
  });
  connect(successiva_, &QAction::triggered, this, [this] {
    if (!inResultView()) ButtonEseguiClick();
  });
  connect(copia, &QAction::triggered, this, &TIBLQueryForm::CopiaSql);
  connect(somma, &QAction::triggered, this, &TIBLQueryForm::InserisciSomma);
  const QList<QAction*> actions{precedente_, successiva_, copia, somma};
  addActions(actions);  // the shortcuts work anywhere in the window
  gridQuery_->addActions(actions);
  gridQuery_->setContextMenuPolicy(Qt::ActionsContextMenu);
}

bool TIBLQueryForm::inResultView() const {
  return pages_->currentWidget() == resultPage_;
}

QString TIBLQueryForm::CaricaParametro(const QString& nome) {
  if (ambiente_) return ambiente_->CaricaParametro(nome);
  return core::IniFile(core::windowsDirectory() + QStringLiteral("vandel.ini"))
      .read(settings_.ditta, nome);
}

void TIBLQueryForm::SalvaParametro(const QString& nome, const QString& valore) {
  if (ambiente_)
    ambiente_->SettaParametro(nome, valore);
  else
    core::IniFile(core::windowsDirectory() + QStringLiteral("vandel.ini"))
        .write(settings_.ditta, nome, valore);
}

int TIBLQueryForm::currentRow() const {
  return gridQuery_->currentIndex().row();
}

void TIBLQueryForm::setCurrentCondition(const QString& condition) {
  rows_.setCondizione(currentRow(), condition);
}

bool TIBLQueryForm::refusedWhenLocked() {
  if (!flags_.locked) return false;
  ui::warning(kLockedMessage);
  return true;
}

bool TIBLQueryForm::TastoRighe(int key) {
  const int row = currentRow();
  if (row < 0 || row >= rows_.count()) return false;
  const bool field = model::isField(rows_.at(row).mostra);
  switch (key) {
    case Qt::Key_F3:
      if (field && !flags_.locked) model::toggleShown(rows_, row);
      return true;
    case Qt::Key_F4:
      if (field) keyParenthesis();
      return true;
    case Qt::Key_F5:
      if (field) keyFieldName();
      return true;
    case Qt::Key_F6:
      if (field) keyRange();
      return true;
    case Qt::Key_F7:
      if (field && !flags_.locked) keyFormula();
      return true;
    case Qt::Key_F8:
      if (field && !flags_.locked) keyYearMonth();
      return true;
    case Qt::Key_F9:
      if (!flags_.locked) keyConditionEditor();
      return true;
    case Qt::Key_F10:
      if (field) keyValue();
      return true;
    default:
      return false;
  }
}

void TIBLQueryForm::keyParenthesis() {
  const designer::Parenthesis result = designer::parenthesize(rows_.at(currentRow()).condizione);
  setCurrentCondition(result.condition);
  if (result.edit)
    gridQuery_->edit(
        rowsModel_->index(currentRow(), designer::DesignerRowsModel::ColumnCondizione));
}

void TIBLQueryForm::keyFieldName() {
  const model::Row& row = rows_.at(currentRow());
  setCurrentCondition(row.condizione + row.nome);
}

void TIBLQueryForm::keyRange() {
  const QString nome = rows_.at(currentRow()).nome;
  const db::FieldType type = engine_->DeterminaTipoCampo(nome);
  TRangeForm dialog(
      designer::asksForDate(type) ? designer::RangeKind::Data : designer::RangeKind::Valore, this);
  if (ui::runDialog(dialog) != 1) return;
  const designer::RangeEntries entries{dialog.EditData1()->text(), dialog.EditData2()->text(),
                                       dialog.Edit1()->text(), dialog.Edit2()->text()};
  setCurrentCondition(
      designer::rangeCondition(nome, type, entries, rows_.at(currentRow()).condizione));
}

void TIBLQueryForm::keyFormula() {
  TFormuleForm dialog(model::fieldNames(rows_), rows_.at(currentRow()).nome, this);
  if (ui::runDialog(dialog) != 1) return;
  setCurrentCondition(designer::formulaCondition(dialog.EditFormula()->text(),
                                                 dialog.EditNomeCampoRisposta()->text()));
}

void TIBLQueryForm::keyYearMonth() {
  QStringList dateFields;
  for (const QString& nome : model::fieldNames(rows_)) {
    const db::FieldType type = engine_->DeterminaTipoCampo(nome);
    if (type == db::FieldType::Date || type == db::FieldType::DateTime) dateFields << nome;
  }
  TRaggMesiForm dialog(dateFields, this);
  if (ui::runDialog(dialog) != 1) return;
  setCurrentCondition(dialog.condition());
}

void TIBLQueryForm::keyConditionEditor() {
  TEditCondForm dialog(this);
  dialog.Memo1()->setPlainText(rows_.at(currentRow()).condizione);
  if (ui::runDialog(dialog) != 1) return;
  setCurrentCondition(designer::editedCondition(dialog.Memo1()->toPlainText()));
}

void TIBLQueryForm::keyValue() {
  const QString nome = rows_.at(currentRow()).nome;
  const db::FieldType type = engine_->DeterminaTipoCampo(nome);
  QString value;
  if (designer::asksForDate(type)) {
    TDorviDataForm dialog(this);
    dialog.EditData1()->clear();
    if (ui::runDialog(dialog) != 1) return;
    value = dialog.EditData1()->text();
  } else {
    TDorviIn1Form dialog(this);
    dialog.Edit1()->clear();
    if (ui::runDialog(dialog) != 1) return;
    value = dialog.Edit1()->text();
  }
  setCurrentCondition(designer::singleValueCondition(nome, type, value));
}

bool TIBLQueryForm::runRows(bool clipboard) {
  gridQuery_->postPendingEdit();
  engine_->setClipboardMode(clipboard);
  resultView_->answerModel()->sourceClosing();
  const bool done = engine_->EseguiInterrogazione(*answer_, flags_.sideBySide);
  engine_->setClipboardMode(false);
  if (!done) {
    ui::plain(engine_->failureMessage());
    return false;
  }
  return true;
}

void TIBLQueryForm::ButtonEseguiClick() {
  if (!runRows(false)) return;
  SettaFormRisposta();
}

void TIBLQueryForm::CopiaSql() {
  if (!runRows(true)) return;
  TIBFQuerForm window(engine_->clipboardLines(), this);
  if (ui::runDialog(window) == QDialog::Accepted)
    ui::information(QStringLiteral("Script SQL copiato!"));
}

void TIBLQueryForm::InserisciSomma() {
  TCalcSommaForm dialog(settings_.tabella, database_, transaction_, this);
  if (ui::runDialog(dialog) != 1) return;
  const QString campo = dialog.ComboCampo()->currentText();
  const int row = rows_.indexOf(campo);
  if (row < 0) return;
  rows_.setCondizione(row, designer::groupSumCondition(campo, dialog.EditSomma()->text()));
}

void TIBLQueryForm::ButtonSelezionaTuttoClick() {
  if (refusedWhenLocked()) return;
  model::setAllShown(rows_, true);
}

void TIBLQueryForm::ButtonDeselezionaTuttoClick() {
  if (refusedWhenLocked()) return;
  model::setAllShown(rows_, false);
  if (rows_.count() > 0) gridQuery_->setCurrentIndex(rowsModel_->index(0, 0));
}

void TIBLQueryForm::ButtonAggiungiTabellaClick() {
  if (refusedWhenLocked()) return;
  model::InternalChange change(rows_);
  TIBAggForm dialog(this, settings_.ditta, settings_.tabella, rows_, database_, transaction_);
  ui::runDialog(dialog);
}

void TIBLQueryForm::ButtonElabAvanzateClick() {
  TElabAvanForm window(flags_.locked, flags_.sideBySide, settings_.ditta, this);
  window.ButtonAggiungiQueryAffiancata()->setText(QStringLiteral("Affiancamento tramite UNION"));
  ui::runDialog(window);
  if (designer::runAdvancedCommand(window.command(), *this) == designer::RowAfter::Last &&
      rows_.count() > 0)
    gridQuery_->setCurrentIndex(rowsModel_->index(rows_.count() - 1, 0));
}

void TIBLQueryForm::ButtonEliminaTabellaClick() {
  if (refusedWhenLocked()) return;
  TEliminaForm dialog(model::removableTables(rows_), this);
  if (ui::runDialog(dialog) != 1) return;
  const QString nome = dialog.EditNomeTabella()->currentText();
  if (nome.isEmpty()) return;
  const model::TableRemoval plan = model::planTableRemoval(rows_, nome);
  if (!plan.found) return;
  if (plan.linked) {
    ui::warning(
        QStringLiteral("Cancellazione Impossibile: la tabella da eliminare\rha un collegamento "
                       "con una tabella presente nella query!"));
    return;
  }
  if (ui::ask(QStringLiteral("Elimino la tabella e gli elementi ad essa collegata?"),
              ui::Ok | ui::Cancel) != ui::Ok)
    return;
  model::removeTable(rows_, plan);
}

void TIBLQueryForm::ButtonChiudiClick() {
  gridQuery_->postPendingEdit();
  close();
}

void TIBLQueryForm::SettaFormRisposta() {
  resultView_->answerOpened();
  pages_->setCurrentWidget(resultPage_);
  gridQuery_->setContextMenuPolicy(Qt::NoContextMenu);
  resultView_->grid()->setFocus();
  SettaggioControlli();
}

void TIBLQueryForm::ButtonRitornaClick() {
  pages_->setCurrentWidget(designPage_);
  gridQuery_->setContextMenuPolicy(Qt::ActionsContextMenu);
  adjustConditionWidth();
  gridQuery_->setFocus();
  SettaggioControlli();
}

void TIBLQueryForm::SettaggioControlli() {
  const bool result = inResultView();
  resultView_->setControlsEnabled(result);
  for (QPushButton* each : {buttonEsegui_, buttonSeleziona_, buttonDeseleziona_, buttonAggiungi_,
                            buttonElimina_, buttonElabAvanzate_, buttonChiudi_})
    each->setEnabled(!result);
}

void TIBLQueryForm::adjustConditionWidth() {
  const int characters = larghezzaCondizione(gridQuery_->width());
  gridQuery_->setColumnWidth(
      designer::DesignerRowsModel::ColumnCondizione,
      std::max(1, characters) * gridQuery_->fontMetrics().averageCharWidth());
}

bool TIBLQueryForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == gridQuery_ && event->type() == QEvent::Resize) adjustConditionWidth();
  if (watched == gridQuery_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key >= Qt::Key_F3 && key <= Qt::Key_F10 && TastoRighe(key)) return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TIBLQueryForm::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) SettaggioControlli();
}
