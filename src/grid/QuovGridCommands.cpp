// TQuovGrid: the personalisation window and its reset, the query designer
// hand-off (F8) and the column-width halving (F9).
#include <QDate>
#include <QDateTime>

#include "core/Dates.h"
#include "core/SqlText.h"
#include "db/Database.h"
#include "db/MemTable.h"
#include "db/Query.h"
#include "db/Table.h"
#include "db/Transaction.h"
#include "grid/AvQuovGrForm.h"
#include "grid/GridModel.h"
#include "grid/PQuovGridForm.h"
#include "grid/QuovGridCommand.h"
#include "grid/StoredLayout.h"

namespace {

// A value as text in a statement: NULL, or the text between apostrophes
// (the database converts it to the column's type); dates as mm/dd/yyyy.
}  // namespace

void TQuovGrid::DimezzaLarghezzaColonna() {
  const int column = colonnaCorrente();
  if (column < 0) return;
  const int width = columnWidth(column) / 2;
  setColumnWidth(column, width);
  model_->setColumnWidth(column, width);
}

void TQuovGrid::PersonalizzaGriglia() {
  if (!sorgenteAperta()) return;
  db::Database* database = databaseImpostazioni();
  if (!database) return;
  // One stored row for every column before the window edits them.
  SalvaAspettoColonne();
  {
    TPQuovGridForm form(this, TabellaAspettoGriglia, CodiceProgetto, Utente, Situazione, *database);
    QFont smaller = font();
    if (smaller.pointSizeF() > 10) smaller.setPointSize(10);
    form.setFont(smaller);
    form.setWindowTitle(QStringLiteral("Personalizzazione Griglia"));
    form.OnAspettoBase = [this, &form] { protetto([&] { aspettoBase(form); }); };
    ui::runDialog(form);
  }
  CaricaAspettoColonne();
}

void TQuovGrid::aspettoBase(TPQuovGridForm& form) {
  TAvQuovGrForm warning(this);
  if (ui::runDialog(warning) != QDialog::Accepted) return;

  RipristinoInCorso = true;
  struct Clear {
    bool& flag;
    ~Clear() { flag = false; }
  } clear{RipristinoInCorso};

  form.annullaModifiche();
  db::Database& database = *databaseImpostazioni();
  {
    db::Transaction transaction(database);
    db::Query statement(database, transaction);
    statement.sql = grid::layout::deleteRows(TabellaAspettoGriglia, chiavi());
    statement.execSql();
    transaction.commit();
  }
  switch (tipo_) {
    case SorgenteQuery:
      condizioneRicerca_.clear();
      riapriQuery(SQLIniziale);
      break;
    case SorgenteTabella:
      table_->close();
      table_->open();
      break;
    case SorgenteMemoria:
      mem_->close();
      installaFiltro();
      break;
    default:
      break;
  }
  SalvaAspettoColonne();
  form.CaricaGriglia();
}

void TQuovGrid::ApriQuery() {
  if (!sorgenteAperta() || !queryAbilitata() || !designer()) return;
  RichiestaInterrogazione richiesta;
  richiesta.directoryBin = DirectoryBin;
  richiesta.fileIni = FileIni;
  richiesta.sezioneIni = SezioneIni;
  richiesta.directoryLavoro = DirectoryLavoro;
  switch (tipo_) {
    case SorgenteQuery: {
      const QString name = TabellaBase.isEmpty() ? tabellaDaSQLIniziale() : TabellaBase;
      db::Table table(query_->database(), query_->transaction(), name);
      table.open();
      richiesta.tabella = &table;
      richiesta.database = &query_->database();
      richiesta.utente = Utente;
      designer()(richiesta);
      table.close();
      break;
    }
    case SorgenteTabella:
      richiesta.tabella = table_;
      richiesta.database = &table_->database();
      designer()(richiesta);
      break;
    case SorgenteMemoria:
      if (!TabellaAppoggio) return;
      copiaInTabellaAppoggio();
      richiesta.tabella = TabellaAppoggio;
      richiesta.database = &TabellaAppoggio->database();
      designer()(richiesta);
      break;
    default:
      break;
  }
}

void TQuovGrid::copiaInTabellaAppoggio() {
  db::Table& support = *TabellaAppoggio;
  support.close();
  support.transaction().ensureStarted();
  db::Query statement(support.database(), support.transaction());
  statement.sql = QStringList{QStringLiteral("DELETE FROM ") + support.tableName()};
  statement.execSql();
  support.open();
  const int fields = std::min(support.fieldCount(), mem_->fieldCount());
  QStringList names;
  for (int i = 0; i < fields; ++i) names << core::sqlIdentifier(support.field(i).name);
  for (int row = 0; row < mem_->rowCount(); ++row) {
    QStringList values;
    for (int i = 0; i < fields; ++i) values << core::sqlLiteral(mem_->value(row, i));
    statement.sql = QStringList{QStringLiteral("INSERT INTO ") + support.tableName(),
                                '(' + names.join(',') + ')',
                                QStringLiteral("VALUES (") + values.join(',') + ')'};
    statement.execSql();
  }
  support.transaction().commitRetaining();
  support.open();
}
