// TQuovGrid: the search on the current column (F5), its window, the
// all-columns search and the removal of the search (F6, Escape).
#include <QCheckBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "core/Dates.h"
#include "db/Database.h"
#include "db/MemTable.h"
#include "db/Query.h"
#include "db/Table.h"
#include "grid/GridModel.h"
#include "grid/QuovGridCommand.h"
#include "grid/RQuovGridForm.h"
#include "grid/RadioGroup.h"
#include "grid/SearchPosition.h"
#include "ui/EditData.h"

using grid::FieldClass;

namespace {

const QString kAcuto = QString(QChar(0x00B4));

// A date typed in a date box: valid and exactly ten characters, or nothing.
QDate dataDigitata(const QString& text) {
  if (text.size() != 10) return {};
  return core::parseShortDate(text);
}

}  // namespace

void TQuovGrid::alzaInizioRicerca() {
  if (OnInizioRicerca) OnInizioRicerca(this);
}

void TQuovGrid::alzaFineRicerca() {
  if (OnFineRicerca) OnFineRicerca(this);
}

void TQuovGrid::RicercaCampoCorrente() {
  const int column = colonnaCorrente();
  if (dialog_ || !sorgenteAperta() || column < 0) return;
  const grid::GridColumn searched = model_->columns()[static_cast<std::size_t>(column)];
  alzaInizioRicerca();
  // The search ends however the command ends, failures included.
  bool ended = false;
  try {
    apriRicerca(searched, ended);
  } catch (...) {
    if (!ended) alzaFineRicerca();
    throw;
  }
}

void TQuovGrid::apriRicerca(const grid::GridColumn& searched, bool& ended) {
  if (tipo_ == SorgenteQuery && !regolaTabellaGrande(searched.fieldName)) {
    ended = true;
    alzaFineRicerca();
    return;
  }
  if (tipo_ == SorgenteQuery) SalvaAspettoColonne();

  colonnaRicerca_ = searched.fieldName.toUpper();
  if (const auto expression = personalizzati().expressionOf(colonnaRicerca_))
    espressioneRicerca_ = *expression;
  else
    espressioneRicerca_ = searched.origin.isEmpty() ? searched.fieldName : searched.origin;
  classeRicerca_ = tipo_ == SorgenteQuery ? grid::fieldClassOf(searched.type) : FieldClass::Text;

  TRQuovGridForm form(this);
  dialog_ = &form;
  generica_ = false;
  struct Release {
    TQuovGrid* grid;
    ~Release() {
      grid->timerRicerca_.stop();
      grid->dialog_ = nullptr;
      grid->generica_ = false;
    }
  } release{this};
  if (tipo_ == SorgenteQuery) form.EditGenerica->setEnabled(true);

  db::Database* database = databaseImpostazioni();
  const auto stored =
      database ? grid::SearchPosition::read(*database, TabellaPosizioneFinestre, chiavi())
               : std::nullopt;
  if (stored) {
    form.EditTipoRicerca->setItemIndex(stored->info3);
    form.EditUpper->setChecked(stored->info4);
    form.EditOrdinamento->setItemIndex(stored->info1);
  }

  switch (classeRicerca_) {
    case FieldClass::Number:
      form.limitaModiNumerici();
      break;
    case FieldClass::Date:
      form.mostraDate();
      form.EditData1->installEventFilter(this);
      form.EditData2->installEventFilter(this);
      break;
    case FieldClass::Blob:
      form.EditUpper->setEnabled(false);
      break;
    case FieldClass::Text:
      break;
  }
  form.setFont(font());
  form.setWindowTitle(QStringLiteral("Ricerca su ") + searched.caption);
  form.adjustSize();
  if (stored) {
    form.move(stored->posX, stored->posY);
  } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    form.move(screen->availableGeometry().center() - form.rect().center());
  }

  form.EditStringa->installEventFilter(this);
  connect(form.EditStringa, &QLineEdit::textChanged, this, [this] {
    if (!generica_) ricercaConTimer();
  });
  connect(form.ButtonAggRete, &QPushButton::clicked, this, [this] { ricercaConTimer(); });
  connect(form.ButtonEsegui, &QPushButton::clicked, this,
          [this] { protetto([this] { ricercaGenerica(); }); });
  connect(form.EditGenerica, &QCheckBox::toggled, this, [this](bool on) { modoGenerico(on); });
  connect(&form, &TRQuovGridForm::escapePressed, this, [this] {
    dialog_->done(QDialog::Rejected);
    protetto([this] { togliRicerca(); });
  });
  if (classeRicerca_ != FieldClass::Date) form.EditStringa->setFocus();

  ui::runDialog(form);

  timerRicerca_.stop();
  if (database) {
    grid::SearchPosition position;
    position.posX = form.x();
    position.posY = form.y();
    position.info3 = form.EditTipoRicerca->ItemIndex();
    position.info1 = form.EditOrdinamento->ItemIndex();
    position.info4 = form.EditUpper->isChecked();
    grid::SearchPosition::store(*database, TabellaPosizioneFinestre, chiavi(), position);
  }
  filtroTesto_ = form.EditStringa->text();
  filtroUpper_ = form.EditUpper->isChecked();
  filtroModo_ = form.EditTipoRicerca->ItemIndex();
  dialog_ = nullptr;
  ended = true;
  alzaFineRicerca();
  if (tipo_ == SorgenteQuery) {
    colonnaRicerca_.clear();
    if (query_->isActive()) {
      CaricaAspettoColonne();
    } else {
      // The last search was rejected and the window closed without
      // removing it: show the search still in force.
      QStringList statement = SQLIniziale;
      if (!condizioneRicerca_.isEmpty()) statement << condizioneRicerca_;
      riapriQuery(statement);
    }
  }
}

bool TQuovGrid::tastoRicerca(QObject* box, QKeyEvent* key) {
  const bool edit = box == dialog_->EditStringa;
  const bool date = box == dialog_->EditData1 || box == dialog_->EditData2;
  if ((!edit && !date) || (edit && generica_)) return false;
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // A search the database rejects leaves the window open, so that the
      // value can be corrected.
      if (!protetto([this] { eseguiRicerca(); })) return true;
      if (dialog_) dialog_->done(QDialog::Accepted);
      alzaFineRicerca();
      return true;
    case Qt::Key_Escape:
      dialog_->done(QDialog::Rejected);
      protetto([this] { togliRicerca(); });
      return true;
    default:
      break;
  }
  if (key->text() == QLatin1String("'")) {
    // Apostrophes are stored as the acute accent.
    static_cast<QLineEdit*>(box)->insert(kAcuto);
    return true;
  }
  return false;
}

void TQuovGrid::ricercaConTimer() {
  if (!settings_.abilitaTimerRic) {
    protetto([this] { eseguiRicerca(); });
    return;
  }
  timerRicerca_.stop();
  timerRicerca_.start();
}

void TQuovGrid::eseguiRicerca() {
  timerRicerca_.stop();
  // A query source may be closed by a search the database rejected: the
  // next one rebuilds its statement all the same.
  if (!dialog_ || !sorgente_ || (tipo_ != SorgenteQuery && !sorgenteAperta())) return;
  TRQuovGridForm& form = *dialog_;

  if (tipo_ == SorgenteQuery) {
    grid::SearchRequest request;
    request.fieldClass = classeRicerca_;
    if (classeRicerca_ == FieldClass::Date) {
      request.firstDate = dataDigitata(form.EditData1->text());
      if (!request.firstDate.isValid()) return;
      if (!form.EditData2->text().isEmpty()) {
        request.secondDate = dataDigitata(form.EditData2->text());
        if (!request.secondDate.isValid()) return;
      }
      form.EditTipoRicerca->setItemIndex(grid::ModoMaggiore);
    }
    request.keyword = grid::searchKeyword(SQLIniziale);
    // The origin names the table; an aliased table is named by its alias.
    const grid::TableAliases aliases = grid::TableAliases::of(SQLIniziale);
    request.expression = aliases.qualify(espressioneRicerca_);
    request.text = form.EditStringa->text();
    request.mode = form.EditTipoRicerca->ItemIndex();
    request.upper = form.EditUpper->isChecked();
    request.order = form.EditOrdinamento->ItemIndex();

    query_->close();
    QStringList statement = SQLIniziale;
    const QString condition = grid::conditionLine(request);
    const QString previous = condizioneRicerca_;
    if (condition.isEmpty()) {
      condizioneRicerca_.clear();
    } else {
      statement << condition;
      if (request.order == grid::OrdineNo)
        statement << ordering_.searchOrderLines(originiAusiliarie(),
                                                classeRicerca_ == FieldClass::Text && request.upper,
                                                OrderBy, aliases);
      else
        statement << grid::searchOrderLine(request);
      condizioneRicerca_ = condition;
    }
    try {
      riapriQuery(statement);
    } catch (...) {
      // A rejected condition is not kept: reopenings would fail again.
      condizioneRicerca_ = previous;
      throw;
    }
    return;
  }

  filtroTesto_ = form.EditStringa->text();
  filtroUpper_ = form.EditUpper->isChecked();
  filtroModo_ = form.EditTipoRicerca->ItemIndex();
  if (tipo_ == SorgenteTabella) {
    installaFiltro();
    table_->setIndexFieldNames(colonnaRicerca_);
    CaricaAspettoColonne();
  } else if (tipo_ == SorgenteMemoria) {
    if (filtroTesto_.isEmpty()) {
      mem_->setFilter({});
    } else {
      mem_->setFilter({});
      installaFiltro();
      const int field = mem_->fieldIndex(colonnaRicerca_);
      const int order = form.EditOrdinamento->ItemIndex();
      if (field >= 0 && (order == grid::OrdineCresc || order == grid::OrdineDecres))
        mem_->sort({{field, order == grid::OrdineCresc}}, Qt::CaseInsensitive);
      mem_->first();
    }
  }
}

void TQuovGrid::installaFiltro() {
  const QString column = colonnaRicerca_;
  const QString text = filtroTesto_;
  const bool upper = filtroUpper_;
  const int mode = filtroModo_;
  const auto accepts = [column, text, upper, mode](const db::DataSet& source,
                                                   const QVariant& value) {
    if (column.isEmpty()) return false;
    const int field = source.fieldIndex(column);
    if (field < 0) return false;
    return grid::filterAccepts(grid::GridModel::displayText(value, source.field(field)), text,
                               upper, mode);
  };
  if (tipo_ == SorgenteTabella) {
    table_->setRecordFilter([accepts, column](const db::Table& table, int row) {
      return accepts(table, table.rawValue(row, table.fieldIndex(column)));
    });
    table_->setFiltered(false);
    table_->setFiltered(true);
  } else if (tipo_ == SorgenteMemoria) {
    mem_->setFilter([accepts, column](const db::MemTable& table, int record) {
      const int field = table.fieldIndex(column);
      return field >= 0 && accepts(table, table.recordValue(record, field));
    });
  }
}

void TQuovGrid::togliRicerca() {
  if (tipo_ == SorgenteQuery) {
    condizioneRicerca_.clear();
    riapriQuery(SQLIniziale);
  } else if (tipo_ == SorgenteMemoria) {
    mem_->setFilter({});
  }
}

void TQuovGrid::AnnullaRicerca() {
  if (!sorgenteAperta()) return;
  alzaInizioRicerca();
  try {
    SalvaAspettoColonne();
    switch (tipo_) {
      case SorgenteQuery:
        condizioneRicerca_.clear();
        riapriQuery(SQLIniziale);
        break;
      case SorgenteTabella:
        table_->setFiltered(false);
        CaricaAspettoColonne();
        break;
      case SorgenteMemoria:
        mem_->setFilter({});
        break;
      default:
        break;
    }
  } catch (...) {
    alzaFineRicerca();
    throw;
  }
  alzaFineRicerca();
}

void TQuovGrid::modoGenerico(bool on) {
  TRQuovGridForm& form = *dialog_;
  const bool date = classeRicerca_ == FieldClass::Date;
  if (on) {
    primaDiGenerica_ = {form.windowTitle(), form.EditTipoRicerca->isEnabled(),
                        form.EditUpper->isEnabled(), form.ButtonAggRete->isEnabled(),
                        form.EditOrdinamento->isEnabled()};
    form.EditStringa->show();
    form.EditData1->hide();
    form.EditData2->hide();
    form.Label2->hide();
    form.EditTipoRicerca->setEnabled(false);
    form.EditUpper->setEnabled(false);
    form.ButtonAggRete->setEnabled(false);
    form.EditOrdinamento->setEnabled(false);
    form.ButtonEsegui->setEnabled(true);
    form.setWindowTitle(QStringLiteral("Ricerca su TUTTI i campi"));
    generica_ = true;
    timerRicerca_.stop();
  } else {
    form.setWindowTitle(primaDiGenerica_.caption);
    form.EditTipoRicerca->setEnabled(primaDiGenerica_.tipoRicerca);
    form.EditUpper->setEnabled(primaDiGenerica_.upper);
    form.ButtonAggRete->setEnabled(primaDiGenerica_.aggRete);
    form.EditOrdinamento->setEnabled(primaDiGenerica_.ordinamento);
    if (date) {
      form.EditStringa->hide();
      form.EditData1->show();
      form.EditData2->show();
      form.Label2->show();
    }
    form.ButtonEsegui->setEnabled(false);
    generica_ = false;
  }
}

void TQuovGrid::ricercaGenerica() {
  if (!dialog_ || tipo_ != SorgenteQuery || !sorgente_) return;
  alzaInizioRicerca();
  SalvaAspettoColonne();
  const QString text = dialog_->EditStringa->text().toUpper();
  QStringList fields;
  for (int i = 0; i < query_->fieldCount(); ++i) fields << query_->field(i).name;
  QStringList statement = SQLIniziale;
  statement << grid::allColumnsCondition(SQLIniziale, fields, text);
  condizioneRicerca_.clear();
  riapriQuery(statement);
}
