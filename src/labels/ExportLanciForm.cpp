#include "labels/ExportLanciForm.h"

#include <QCheckBox>
#include <QDate>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

#include "db/DbError.h"
#include "db/UnitOfWork.h"
#include "env/TabX.h"
#include "grid/GridModel.h"
#include "labels/LaunchExport.h"
#include "ui/Prompter.h"

namespace {

// The busy cursor while a launch is written (large launches take a second
// or more); gone before any message shows.
class BusyCursor {
 public:
  BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

TExportLanciForm::TExportLanciForm(QWidget* owner, std::unique_ptr<TTabXForm> ambiente)
    : app::EnvironmentWindow(owner, std::move(ambiente), QStringLiteral("Export lanci - Ditta:")),
      transazione_(this->ambiente().IBDatabase1,
                   {QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait")}),
      QueryLanci(this->ambiente().IBDatabase1, transazione_),
      QueryAux(this->ambiente().IBDatabase1, transazione_) {
  setObjectName(QStringLiteral("ExportLanciForm"));
  resize(520, 400);

  CheckEsportati = new QCheckBox(QString::fromUtf8("Nascondi lanci già esportati"), this);
  CheckEsportati->setObjectName(QStringLiteral("CheckEsportati"));
  CheckSenzaOrdine = new QCheckBox(QStringLiteral("Nascondi lanci senza ordine"), this);
  CheckSenzaOrdine->setObjectName(QStringLiteral("CheckSenzaOrdine"));
  GridLanci = new QTableView(this);
  GridLanci->setObjectName(QStringLiteral("GridLanci"));
  GridLanci->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GridLanci->setSelectionBehavior(QAbstractItemView::SelectRows);
  GridLanci->setSelectionMode(QAbstractItemView::SingleSelection);
  GridLanci->verticalHeader()->hide();
  modelloLanci_ = new grid::GridModel(GridLanci);
  GridLanci->setModel(modelloLanci_);
  modelloLanci_->setSource(&QueryLanci);
  ButtonExport = new QPushButton(QStringLiteral("&Export"), this);
  ButtonExport->setObjectName(QStringLiteral("ButtonExport"));
  ButtonChiudi = new QPushButton(QStringLiteral("&Chiudi"), this);
  ButtonChiudi->setObjectName(QStringLiteral("ButtonChiudi"));

  auto* layout = new QGridLayout(this);
  layout->addWidget(CheckEsportati, 0, 0);
  layout->addWidget(CheckSenzaOrdine, 1, 0);
  layout->addWidget(GridLanci, 2, 0, 3, 1);
  layout->addWidget(ButtonExport, 2, 1);
  layout->addWidget(ButtonChiudi, 4, 1, Qt::AlignBottom);
  layout->setColumnStretch(0, 1);
  layout->setRowStretch(3, 1);

  connect(CheckEsportati, &QCheckBox::clicked, this, [this] { ApriLista(); });
  connect(CheckSenzaOrdine, &QCheckBox::clicked, this, [this] { ApriLista(); });
  connect(ButtonExport, &QPushButton::clicked, this, [this] { ButtonExportClick(); });
  connect(ButtonChiudi, &QPushButton::clicked, this, &QWidget::close);

  try {
    transazione_.start();
  } catch (const db::DbError& error) {
    ui::error(error.text());
  }
  ApriLista();
}

TExportLanciForm::~TExportLanciForm() {
  // The view lets go of the query before the query goes.
  modelloLanci_->setSource(nullptr);
}

void TExportLanciForm::ApriLista() {
  modelloLanci_->sourceClosing();
  try {
    QueryLanci.close();
    transazione_.ensureStarted();
    QueryLanci.sql =
        labels::launchListStatement(CheckEsportati->isChecked(), CheckSenzaOrdine->isChecked());
    QueryLanci.open();
  } catch (const db::DbError& error) {
    ui::error(error.text());
  }
  modelloLanci_->sourceOpened();
  if (modelloLanci_->rowCount() > 0) GridLanci->setCurrentIndex(modelloLanci_->index(0, 0));
}

qint64 TExportLanciForm::launchOfCurrentRow() const {
  const QModelIndex current = GridLanci->currentIndex();
  const int row = current.isValid() ? current.row() : 0;
  const int column = QueryLanci.fieldIndex(QStringLiteral("ID"));
  return QueryLanci.value(row, column).toLongLong();
}

void TExportLanciForm::ButtonExportClick() {
  if (!QueryLanci.isActive() || QueryLanci.isEmpty()) {
    ui::warning(QStringLiteral("Nessun lancio selezionato"));
    return;
  }
  const QString chosen = ui::prompter().chooseSaveFile(this, {}, {}, {});
  if (chosen.isEmpty()) return;
  const QString target = labels::csvFileName(chosen);
  const qint64 launch = launchOfCurrentRow();

  // The file first, complete or not at all; only then the launch is marked.
  QString failure;
  {
    BusyCursor busy;
    try {
      labels::writeLaunchCsv(ambiente().IBDatabase1, transazione_, launch, target);
    } catch (const labels::ExportFileError& error) {
      failure = QString::fromUtf8(error.what());
    } catch (const db::DbError& error) {
      failure = error.text();
    }
  }
  if (!failure.isEmpty()) {
    ui::error(QStringLiteral("Export non effettuato: ") + failure);
    return;
  }

  // On failure the transaction is rolled back; the list restarts it.
  bool marked = true;
  try {
    db::UnitOfWork work(transazione_);
    QueryAux.sql = labels::markExportedStatement(launch, QDate::currentDate());
    QueryAux.execSql();
    work.commit();
  } catch (const db::DbError&) {
    marked = false;
  }
  ApriLista();
  if (!marked) {
    ui::error(
        QStringLiteral("Errore interno durante il settaggio a esportato del lancio di stampa"));
    return;
  }
  ui::information(QStringLiteral("Export effettuato"));
}
