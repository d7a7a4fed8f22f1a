// TQuovGrid: construction, binding to the source, the source's hooks, the
// columns and their looks, the shortcut menu and the mouse.
#include "grid/QuovGrid.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <typeinfo>

#include "db/Database.h"
#include "db/MemTable.h"
#include "db/Query.h"
#include "db/Table.h"
#include "db/Transaction.h"
#include "grid/GridModel.h"
#include "grid/QuovGridCommand.h"
#include "grid/StoredLayout.h"

using grid::GridColumns;

TQuovGrid::ApriInterrogazione& TQuovGrid::designer() {
  static ApriInterrogazione instance;
  return instance;
}

void TQuovGrid::setApriInterrogazione(ApriInterrogazione apri) {
  designer() = std::move(apri);
}

TQuovGrid::TQuovGrid(QWidget* parent) : QTableView(parent), model_(new grid::GridModel(this)) {
  setObjectName(QStringLiteral("QuovGrid"));
  model_->setWidthOf([this](const db::FieldInfo& field) { return larghezzaPredefinita(field); });
  setModel(model_);

  // The grid never edits: read-only from the start.
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setWordWrap(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  verticalHeader()->setMinimumWidth(12);
  horizontalHeader()->setSectionsMovable(true);
  horizontalHeader()->setMinimumSectionSize(1);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->viewport()->installEventFilter(this);

  // While the model resets, the header forgets its sections: the widths it
  // reports meanwhile are not the user's.
  connect(model_, &QAbstractItemModel::modelAboutToBeReset, this,
          [this] { applicandoVista_ = true; });
  connect(model_, &QAbstractItemModel::modelReset, this, &TQuovGrid::applicaColonneAllaVista);
  connect(model_, &grid::GridModel::columnsChanged, this, &TQuovGrid::applicaColonneAllaVista);
  connect(horizontalHeader(), &QHeaderView::sectionResized, this,
          [this](int column, int, int size) {
            if (applicandoVista_ || size <= 0 || horizontalHeader()->isSectionHidden(column))
              return;
            model_->setColumnWidth(column, size);
          });
  connect(horizontalHeader(), &QHeaderView::sectionMoved, this, [this](int, int from, int to) {
    // The model moves the column; the header keeps visual and logical
    // order the same.
    QHeaderView* header = horizontalHeader();
    const QSignalBlocker blocker(header);
    header->moveSection(to, from);
    model_->moveColumn(from, to);
  });
  connect(horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, [this](int column) {
    protetto([&] { OrdinaPerTitolo(column, modificatoriDoppioClick_ & Qt::ControlModifier); });
  });

  timerRicerca_.setInterval(1000);
  timerRicerca_.setSingleShot(true);
  connect(&timerRicerca_, &QTimer::timeout, this,
          [this] { protetto([this] { eseguiRicerca(); }); });

  creaMenu();
  ordering_.clear();
}

TQuovGrid::~TQuovGrid() {
  timerRicerca_.stop();
  scollega();
}

// --- Binding -----------------------------------------------------------

void TQuovGrid::scollega() {
  if (!sorgente_) return;
  sorgente_->setAfterOpen(std::move(dopoSpostato_));
  sorgente_->setBeforeOpen(std::move(primaSpostato_));
  sorgente_->removeObserver(this);
  dimenticaSorgente();
  model_->setSource(nullptr);
}

void TQuovGrid::dimenticaSorgente() {
  sorgente_ = nullptr;
  query_ = nullptr;
  table_ = nullptr;
  mem_ = nullptr;
  tipo_ = SorgenteNessuna;
  primaSpostato_ = nullptr;
  dopoSpostato_ = nullptr;
}

void TQuovGrid::SetSorgenteDati(db::DataSet* dataSet) {
  scollega();
  if (!dataSet) return;
  const std::type_info& kind = typeid(*dataSet);
  if (kind == typeid(db::Query)) {
    tipo_ = SorgenteQuery;
    query_ = static_cast<db::Query*>(dataSet);
  } else if (kind == typeid(db::Table)) {
    tipo_ = SorgenteTabella;
    table_ = static_cast<db::Table*>(dataSet);
    query_ = table_;
  } else if (kind == typeid(db::MemTable)) {
    tipo_ = SorgenteMemoria;
    mem_ = static_cast<db::MemTable*>(dataSet);
  } else {
    return;
  }
  sorgente_ = dataSet;
  dopoSpostato_ = dataSet->setAfterOpen([this](db::DataSet& source) { dopoLApertura(source); });
  primaSpostato_ =
      dataSet->setBeforeOpen([this](db::DataSet& source) { primaDellApertura(source); });
  dataSet->addObserver(this, [this](db::DataSet&, db::DataSet::Notice notice) { avviso(notice); });
  model_->setSource(dataSet);

  if (TabellaAspettoGriglia.isEmpty()) TabellaAspettoGriglia = QStringLiteral("STOASP1");
  if (TabellaPosizioneFinestre.isEmpty()) TabellaPosizioneFinestre = QStringLiteral("STOPOS1");
  if (TabellaAspettoGriglie.isEmpty()) TabellaAspettoGriglie = QStringLiteral("SETGRID");

  settings_ = grid::GridSettings{};
  if (db::Database* database = databaseImpostazioni())
    settings_ = grid::GridSettings::read(*database, TabellaAspettoGriglie, Utente, CodiceProgetto);
  aggiornaMenu();
}

void TQuovGrid::avviso(db::DataSet::Notice notice) {
  switch (notice) {
    case db::DataSet::Notice::Closing:
      model_->sourceClosing();
      break;
    case db::DataSet::Notice::Opened:
      model_->sourceOpened();
      break;
    case db::DataSet::Notice::RowsChanged:
      model_->sourceRowsChanged();
      break;
    case db::DataSet::Notice::Destroyed:
      // The source is going: nothing of it may be touched any more.
      dimenticaSorgente();
      model_->sourceDestroyed();
      break;
  }
  aggiornaMenu();
}

db::Database* TQuovGrid::databaseImpostazioni() const {
  if (DatabaseImpostazioni) return DatabaseImpostazioni;
  if (query_) return &query_->database();
  return nullptr;
}

bool TQuovGrid::sorgenteAperta() const {
  return sorgente_ && sorgente_->isActive();
}

void TQuovGrid::dopoLApertura(db::DataSet& dataSet) {
  if (dopoSpostato_) dopoSpostato_(dataSet);
  if (tipo_ == SorgenteQuery || tipo_ == SorgenteTabella) {
    CaricaAspettoColonne();
    if (!colonnaRicerca_.isEmpty()) selezionaColonnaRicerca();
  } else if (tipo_ == SorgenteMemoria && !colonnaRicerca_.isEmpty()) {
    selezionaColonnaRicerca();
  }
  if (tipo_ == SorgenteTabella) CampiIndicizzati = table_->indexDefinitions().join(';');
  if (tipo_ == SorgenteQuery || tipo_ == SorgenteTabella) coloraTitoli(true, true);
  if (!currentIndex().isValid() && model_->rowCount() > 0) selezionaColonna(colonnaCorrente_);
}

// --- Layout ------------------------------------------------------------

void TQuovGrid::SalvaAspettoColonne() {
  if (!sorgenteAperta()) return;
  db::Database* database = databaseImpostazioni();
  if (!database) return;
  const auto rows = grid::layout::rowsOf(
      model_->columns(), [this](const QString& name) { return ordering_.storedCode(name); },
      grid::kColoreFinestra);
  // A grid without columns (its source failed to show them) has no layout
  // to store: the user's stored one stays.
  if (rows.empty()) return;
  grid::layout::save(*database, TabellaAspettoGriglia, chiavi(), rows);
}

void TQuovGrid::CaricaAspettoColonne() {
  if (!sorgente_) return;
  if (!sorgente_->isActive()) {
    if (tipo_ != SorgenteQuery) return;
    if (riaperturaPropria_)
      query_->sql << righeRiapertura_;
    else if (!condizioneRicerca_.isEmpty())
      query_->sql << condizioneRicerca_;
    return;
  }
  if (tipo_ == SorgenteTabella && ordering_.mode != grid::GridOrdering::Multi &&
      ordering_.hasSingleKey() && !dialog_)
    table_->setIndexFieldNames(ordering_.single.name);

  GridColumns columns = model_->columns();
  if (db::Database* database = databaseImpostazioni())
    grid::layout::apply(grid::layout::load(*database, TabellaAspettoGriglia, chiavi()), columns);
  const bool singleKey = ordering_.mode != grid::GridOrdering::Multi && ordering_.hasSingleKey();
  if (singleKey) {
    const int column = ordering_.single.column;
    if (tipo_ == SorgenteMemoria) {
      const int field = mem_->fieldIndex(ordering_.single.name);
      if (field >= 0) mem_->sort({{field, ordering_.single.direction != 2}}, Qt::CaseInsensitive);
    }
    if (column >= 0 && column < static_cast<int>(columns.size()))
      columns[static_cast<std::size_t>(column)].titleColor = settings_.coloreCampoOrd;
  }
  if (tipo_ == SorgenteTabella) {
    CampiIndicizzati = table_->indexDefinitions().join(';');
    coloraIndicizzati(columns);
    const int column = ordering_.single.column;
    if (singleKey && column >= 0 && column < static_cast<int>(columns.size()))
      columns[static_cast<std::size_t>(column)].titleColor = settings_.coloreCampoOrd;
  }
  model_->setColumns(std::move(columns));
}

// --- Columns -----------------------------------------------------------

const grid::GridColumns& TQuovGrid::colonne() const {
  return model_->columns();
}

int TQuovGrid::campoDellaColonna(int column) const {
  const GridColumns& columns = model_->columns();
  if (column < 0 || column >= static_cast<int>(columns.size())) return -1;
  return columns[static_cast<std::size_t>(column)].field;
}

int TQuovGrid::colonnaCorrente() const {
  const int count = static_cast<int>(model_->columns().size());
  if (count == 0) return -1;
  if (currentIndex().isValid()) return currentIndex().column();
  return colonnaCorrente_ < count ? colonnaCorrente_ : -1;
}

int TQuovGrid::larghezzaPredefinita(const db::FieldInfo& field) const {
  int characters = 10;
  switch (field.type) {
    case db::FieldType::String:
    case db::FieldType::FixedChar:
    case db::FieldType::WideString:
      characters = field.size;
      break;
    case db::FieldType::SmallInt:
      characters = 6;
      break;
    case db::FieldType::DateTime:
      characters = 19;
      break;
    case db::FieldType::LargeInt:
    case db::FieldType::Bcd:
    case db::FieldType::Float:
      characters = 15;
      break;
    default:
      break;
  }
  characters = std::clamp(std::max<int>(characters, static_cast<int>(field.name.size())), 4, 40);
  return characters * fontMetrics().horizontalAdvance(QLatin1Char('0')) + 8;
}

void TQuovGrid::applicaColonneAllaVista() {
  applicandoVista_ = true;
  const GridColumns& columns = model_->columns();
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    const grid::GridColumn& column = columns[static_cast<std::size_t>(i)];
    setColumnHidden(i, !column.visible);
    if (horizontalHeader()->sectionSize(i) != column.width && column.visible)
      setColumnWidth(i, column.width);
  }
  applicandoVista_ = false;
}

void TQuovGrid::coloraIndicizzati(GridColumns& columns) const {
  for (const QString& entry : CampiIndicizzati.split(';')) {
    if (entry.isEmpty()) break;
    const int column = grid::columnOfField(columns, entry);
    if (column >= 0)
      columns[static_cast<std::size_t>(column)].titleColor = settings_.coloreCampiIndic;
  }
}

void TQuovGrid::coloraTitoli(bool indicizzati, bool chiavi) {
  GridColumns columns = model_->columns();
  grid::clearTitleColors(columns);
  if (indicizzati) coloraIndicizzati(columns);
  if (chiavi)
    for (const auto& [column, color] : ordering_.titleColors(settings_.coloreCampoOrd))
      if (column < static_cast<int>(columns.size()))
        columns[static_cast<std::size_t>(column)].titleColor = color;
  model_->setColumns(std::move(columns));
}

void TQuovGrid::selezionaColonna(int column) {
  if (column < 0) return;
  colonnaCorrente_ = column;
  if (column >= model_->columnCount() || model_->rowCount() == 0) return;
  const int row = currentIndex().isValid() ? currentIndex().row() : 0;
  setCurrentIndex(model_->index(row, column));
}

void TQuovGrid::selezionaColonnaRicerca() {
  const int column = grid::columnOfField(model_->columns(), colonnaRicerca_);
  if (column >= 0) selezionaColonna(column);
}

QColor TQuovGrid::ColoreRecordSelezionato() const {
  return grid::colorFromCode(settings_.coloreRecordSelez, palette());
}

// --- Menu --------------------------------------------------------------

void TQuovGrid::creaMenu() {
  menu_ = new QMenu(this);
  menu_->setObjectName(QStringLiteral("MenuQuovGrid"));
  const auto item = [this](const QString& caption, const QKeySequence& shortcut,
                           void (TQuovGrid::*command)()) {
    auto* action = new QAction(caption, this);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    if (command)
      connect(action, &QAction::triggered, this,
              [this, command] { protetto([&] { (this->*command)(); }); });
    addAction(action);
    menu_->addAction(action);
    return action;
  };
  azioneRicerca_ = item(QStringLiteral("Ricerca su campo Corrente"), QKeySequence(Qt::Key_F5),
                        &TQuovGrid::RicercaCampoCorrente);
  azioneAnnulla_ =
      item(QStringLiteral("Annulla ricerca"), QKeySequence(Qt::Key_F6), &TQuovGrid::AnnullaRicerca);
  azioneChiave_ = item(QStringLiteral("Ricerca su chiave "), QKeySequence(Qt::Key_F7), nullptr);
  azioneChiave_->setVisible(false);
  azioneChiave_->setEnabled(false);
  azioneQuery_ = item(QStringLiteral("Query"), QKeySequence(Qt::Key_F8), &TQuovGrid::ApriQuery);
  azioneDimezza_ = item(QStringLiteral("Dimezza larghezza colonna"), QKeySequence(Qt::Key_F9),
                        &TQuovGrid::DimezzaLarghezzaColonna);
  azionePersonalizza_ =
      item(QStringLiteral("Personalizza Griglia"), QKeySequence(), &TQuovGrid::PersonalizzaGriglia);
  connect(menu_, &QMenu::aboutToShow, this, &TQuovGrid::aggiornaMenu);

  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popupMenu()->popup(viewport()->mapToGlobal(at)); });
}

QList<QAction*> TQuovGrid::azioniMenu() const {
  return {azioneRicerca_, azioneAnnulla_, azioneChiave_,
          azioneQuery_,   azioneDimezza_, azionePersonalizza_};
}

void TQuovGrid::setPopupMenu(QMenu* menu) {
  if (!menu || menu == hostMenu_) return;
  menu->addSeparator();
  menu->addActions(azioniMenu());
  // Connected after the host's own handlers, which therefore run first.
  connect(menu, &QMenu::aboutToShow, this, &TQuovGrid::aggiornaMenu);
  hostMenu_ = menu;
}

QMenu* TQuovGrid::popupMenu() const {
  return hostMenu_ ? hostMenu_ : menu_;
}

void TQuovGrid::aggiornaMenu() {
  const bool open = sorgenteAperta();
  for (QAction* action :
       {azioneAnnulla_, azioneChiave_, azioneQuery_, azioneDimezza_, azionePersonalizza_})
    action->setEnabled(open);
  azioneRicerca_->setEnabled(AbilitaRicercaCampo);
  if (!queryAbilitata()) azioneQuery_->setEnabled(false);
}

bool TQuovGrid::queryAbilitata() const {
  if (!TabellaBase.isEmpty()) return true;
  if (tipo_ == SorgenteMemoria) return false;
  if (tipo_ == SorgenteQuery) return !tabellaDaSQLIniziale().isEmpty();
  return true;
}

QString TQuovGrid::tabellaDaSQLIniziale() const {
  const QString text = SQLIniziale.join(QStringLiteral("\r\n"));
  const qsizetype from = text.indexOf(QLatin1String("FROM"));
  if (from < 0) return {};
  const qsizetype open = text.indexOf('"', from);
  if (open < 0) return {};
  const qsizetype close = text.indexOf('"', open + 1);
  if (close < 0) return {};
  return text.mid(open + 1, close - open - 1);
}

// --- Mouse and keys ----------------------------------------------------

bool TQuovGrid::event(QEvent* event) {
  // The shortcut keys follow the same rules as the menu.
  if (event->type() == QEvent::ShortcutOverride) aggiornaMenu();
  return QTableView::event(event);
}

bool TQuovGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == horizontalHeader()->viewport()) {
    if (event->type() == QEvent::MouseButtonPress)
      ultimaPressione_ = static_cast<QMouseEvent*>(event)->position().toPoint();
    if (event->type() == QEvent::MouseButtonDblClick)
      modificatoriDoppioClick_ = static_cast<QMouseEvent*>(event)->modifiers();
  }
  if (dialog_ && event->type() == QEvent::KeyPress)
    return tastoRicerca(watched, static_cast<QKeyEvent*>(event));
  return QTableView::eventFilter(watched, event);
}

void TQuovGrid::mousePressEvent(QMouseEvent* event) {
  ultimaPressione_ = event->position().toPoint();
  QTableView::mousePressEvent(event);
}

void TQuovGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  QTableView::mouseDoubleClickEvent(event);
  if (OnDblClick) OnDblClick(this);
}

void TQuovGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (current.isValid()) colonnaCorrente_ = current.column();
}
