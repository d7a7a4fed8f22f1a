// TQuovGrid: ordering of the rows (the before-open step on the source and
// the double-click on a title).
#include <QHeaderView>

#include "db/Database.h"
#include "db/MemTable.h"
#include "db/Query.h"
#include "db/Table.h"
#include "db/Transaction.h"
#include "grid/GridModel.h"
#include "grid/QuovGrid.h"
#include "ui/Prompter.h"

using grid::GridOrdering;

void TQuovGrid::primaDellApertura(db::DataSet& dataSet) {
  // The host sets the statement first.
  if (primaSpostato_) primaSpostato_(dataSet);
  if (db::Database* database = databaseImpostazioni()) {
    db::Transaction transaction(*database);
    ordering_.readStored(transaction, TabellaAspettoGriglia, chiavi(), personalizzati());
    transaction.commit();
  }
  if (tipo_ != SorgenteQuery || !OrderBy || dialog_) return;

  const bool keys = ordering_.mode == GridOrdering::Multi ? !ordering_.ChiaviOrdinamento.empty()
                                                          : ordering_.hasSingleKey();
  if (keys) {
    query_->sql << ordering_.orderLines(originiAusiliarie(), personalizzati(),
                                        grid::TableAliases::of(query_->sql));
    return;
  }
  if (!OrdinaPerChiavePrimaria || TabellaBase.isEmpty()) return;
  db::Transaction transaction(query_->database());
  db::Query primaryKey(query_->database(), transaction);
  primaryKey.sql = GridOrdering::primaryKeyStatement(TabellaBase);
  primaryKey.open();
  QStringList fields;
  for (; !primaryKey.isEof(); primaryKey.next())
    fields << primaryKey.text(QStringLiteral("RDB$FIELD_NAME"));
  transaction.commit();
  const QString line =
      GridOrdering::primaryKeyLine(TabellaBase, fields, grid::TableAliases::of(query_->sql));
  if (!line.isEmpty()) query_->sql << line;
}

QStringList TQuovGrid::originiAusiliarie() const {
  QStringList origins;
  if (!query_ || SQLIniziale.isEmpty()) return origins;
  // Only the description of the answer is needed: the statement is
  // prepared, not run.
  db::Transaction transaction(query_->database());
  db::Query auxiliary(query_->database(), transaction);
  auxiliary.sql = SQLIniziale;
  auxiliary.describe();
  for (int i = 0; i < auxiliary.fieldCount(); ++i)
    if (!auxiliary.field(i).origin.isEmpty()) origins << auxiliary.field(i).origin;
  transaction.commit();
  return origins;
}

bool TQuovGrid::regolaTabellaGrande(const QString& fieldName) const {
  if (TabellaPiccola || settings_.abilitaRicF5Sempre) return true;
  for (const QString& entry : CampiIndicizzati.split(';'))
    if (!entry.isEmpty() && entry.compare(fieldName, Qt::CaseInsensitive) == 0) return true;
  ui::information(QStringLiteral(
      "Attenzione: Non è possibile eseguire la ricerca su un campo non indicizzato di una "
      "tabella di grandi dimensioni"));
  return false;
}

void TQuovGrid::OrdinaPerTitolo(int column, bool ctrl) {
  if (!AbilitaOrdinaTitoli) {
    if (OnDblClick) OnDblClick(this);
    return;
  }
  ordering_.switchMode(ctrl);
  const grid::GridColumns& columns = model_->columns();
  if (column < 0 || column >= static_cast<int>(columns.size())) {
    if (OnDblClick) OnDblClick(this);
    return;
  }
  const grid::GridColumn clicked = columns[static_cast<std::size_t>(column)];
  const QString name = clicked.fieldName.toUpper();
  const bool database = tipo_ == SorgenteQuery || tipo_ == SorgenteTabella;

  if (ordering_.mode != GridOrdering::Multi) {
    ordering_.mode = GridOrdering::Single;
    ordering_.clickSingle(
        name, grid::orderingExpression(clicked.fieldName, clicked.origin, personalizzati()),
        column);
    if (database && !regolaTabellaGrande(clicked.fieldName)) return;
    riordina(column);
    coloraTitoli(database, false);
    grid::GridColumns coloured = model_->columns();
    const int at = grid::columnOfField(coloured, name);
    if (at >= 0) coloured[static_cast<std::size_t>(at)].titleColor = settings_.coloreCampoOrd;
    model_->setColumns(std::move(coloured));
  } else {
    ordering_.clickMulti(name, clicked.origin.toUpper(), column);
    if (database && !regolaTabellaGrande(clicked.fieldName)) return;
    riordina(column);
    coloraTitoli(database, false);
    grid::GridColumns coloured = model_->columns();
    for (std::size_t k = 0; k < ordering_.ChiaviOrdinamento.size(); ++k) {
      const grid::OrderKey& key = ordering_.ChiaviOrdinamento[k];
      if (key.name.isEmpty()) continue;
      const int at = grid::columnOfField(coloured, key.name);
      if (at >= 0)
        coloured[static_cast<std::size_t>(at)].titleColor =
            GridOrdering::keyColor(k, settings_.coloreCampoOrd);
    }
    model_->setColumns(std::move(coloured));
  }
}

void TQuovGrid::riordina(int column) {
  SalvaAspettoColonne();
  const bool multi = ordering_.mode == GridOrdering::Multi;
  switch (tipo_) {
    case SorgenteQuery: {
      QStringList statement = SQLIniziale;
      if (!condizioneRicerca_.isEmpty()) statement << condizioneRicerca_;
      riapriQuery(statement);
      selezionaColonna(column);
      break;
    }
    case SorgenteMemoria: {
      QList<QPair<int, bool>> keys;
      if (multi) {
        const bool ascending = ordering_.ChiaviOrdinamento.empty() ||
                               ordering_.ChiaviOrdinamento.front().direction != 2;
        for (const grid::OrderKey& key : ordering_.ChiaviOrdinamento) {
          const int field = mem_->fieldIndex(key.name);
          if (!key.name.isEmpty() && field >= 0) keys.append({field, ascending});
        }
      } else {
        const int field = mem_->fieldIndex(ordering_.single.name);
        if (field >= 0) keys.append({field, ordering_.single.direction != 2});
      }
      if (!keys.isEmpty()) mem_->sort(keys, Qt::CaseInsensitive);
      break;
    }
    case SorgenteTabella: {
      QString names;
      if (multi) {
        for (const grid::OrderKey& key : ordering_.ChiaviOrdinamento) names += key.name + ';';
      } else {
        names = ordering_.single.name;
      }
      table_->setIndexFieldNames(names);
      CaricaAspettoColonne();
      break;
    }
    default:
      break;
  }
}

void TQuovGrid::riapriQuery(const QStringList& statement) {
  query_->close();
  query_->sql = statement;
  // A host that sets the statement again while the query opens gets the
  // grid's own lines back through CaricaAspettoColonne, so that a search's
  // ordering or an all-columns condition is not lost.
  riaperturaPropria_ = true;
  righeRiapertura_ = statement.mid(std::min(SQLIniziale.size(), statement.size()));
  struct Done {
    TQuovGrid* grid;
    ~Done() {
      grid->riaperturaPropria_ = false;
      grid->righeRiapertura_.clear();
    }
  } done{this};
  query_->open();
}
