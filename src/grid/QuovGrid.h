#pragma once

#include <QColor>
#include <QPoint>
#include <QStringList>
#include <QTableView>
#include <QTimer>
#include <functional>

#include "db/DataSet.h"
#include "grid/GridColumns.h"
#include "grid/GridOrdering.h"
#include "grid/GridSettings.h"
#include "grid/GridTables.h"
#include "grid/SearchCondition.h"

class QAction;
class QMenu;

namespace db {
class Database;
class MemTable;
class Query;
class Table;
}  // namespace db

class TPQuovGridForm;
class TRQuovGridForm;
namespace grid {
class GridModel;
}  // namespace grid

// What the query designer is handed when the user asks for it (F8): the
// table it works on, that table's connection and the settings of the host.
struct RichiestaInterrogazione {
  db::Table* tabella = nullptr;
  db::Database* database = nullptr;
  QString directoryBin;
  int utente = 0;
  QString fileIni;
  QString sezioneIni;  // the company
  QString directoryLavoro;
};

// The read-only data grid of the library's windows. It shows a query, a
// database table or an in-memory table, and adds:
//  - the user's column layout (order, width, title, colour, visibility,
//    ordering keys), stored in the layout table and applied whenever the
//    source opens;
//  - ordering by double-click on a title (with Ctrl: on several columns),
//    falling back on the base table's primary key;
//  - coloured titles for indexed columns and ordering columns;
//  - a shortcut menu: search on the current column (F5), cancel the search
//    (F6), the query designer (F8), halve the column width (F9), the
//    personalisation window;
//  - per-user display settings from the settings table.
//
// Host protocol (the label window follows it): set Situazione, Utente,
// CodiceProgetto, TabellaBase, TabellaPiccola and the hand-off strings;
// install the query's own before-open and before-close handlers, then call
// SetSorgenteDati with the query (the grid's handlers call the ones they
// displace first). In the before-open handler set the statement, copy it
// into SQLIniziale and call CaricaAspettoColonne (which re-appends a search
// in force). In the before-close handler call SalvaAspettoColonne unless a
// search is running (between OnInizioRicerca and OnFineRicerca) or
// RipristinoInCorso is set. Call SalvaAspettoColonne when the window closes.
class TQuovGrid : public QTableView {
  Q_OBJECT

 public:
  using TNotifyEvent = std::function<void(QObject* sender)>;
  using ApriInterrogazione = std::function<void(const RichiestaInterrogazione&)>;
  // Kinds of data source (TipoTabella).
  enum Sorgente : int {
    SorgenteNessuna = -1,
    SorgenteQuery = 0,
    SorgenteTabella = 1,
    SorgenteMemoria = 2
  };

  explicit TQuovGrid(QWidget* parent = nullptr);
  ~TQuovGrid() override;

  // --- Published properties ---
  // The source statement without search condition and ordering.
  QStringList SQLIniziale;
  // True: the large-table rule is not applied.
  bool TabellaPiccola = false;
  QString TabellaAspettoGriglia = QStringLiteral("STOASP1");
  // Connection of the layout, position and settings tables; when unset the
  // connection of the bound query or table.
  db::Database* DatabaseImpostazioni = nullptr;
  int Situazione = 0;
  int Utente = 0;
  int TipoTabella() const { return tipo_ == SorgenteNessuna ? 0 : tipo_; }
  int CodiceProgetto = 0;
  QString TabellaPosizioneFinestre = QStringLiteral("STOPOS1");
  QString TabellaAspettoGriglie = QStringLiteral("SETGRID");
  QColor ColoreRecordSelezionato() const;
  // Indexed column names separated by ";".
  QString CampiIndicizzati;
  db::DataSet* SorgenteDati() const { return sorgente_; }
  // Binds a query, a database table or an in-memory table (exact classes);
  // anything else, or nullptr, leaves the grid unbound.
  void SetSorgenteDati(db::DataSet* dataSet);
  // False: no ORDER BY is ever appended to a query source.
  bool OrderBy = true;
  TNotifyEvent OnInizioRicerca;
  TNotifyEvent OnFineRicerca;
  // Where an in-memory source is copied for the query designer.
  db::Table* TabellaAppoggio = nullptr;
  // Upper-case names of computed columns and, at the same index, the SQL
  // expression that stands for each when ordering or searching.
  QStringList CampiPersonalizzati;
  QStringList CampiPersonalizzatiDecodifica;

  // --- Public members set by the host in code ---
  QString TabellaBase;
  QString DirectoryBin;
  QString FileIni;
  QString SezioneIni;
  QString DirectoryLavoro;
  bool AbilitaRicercaCampo = true;
  bool AbilitaOrdinaTitoli = true;
  bool OrdinaPerChiavePrimaria = true;
  // True while the stored layout is being reset; hosts do not save meanwhile.
  bool RipristinoInCorso = false;
  // A double-click outside the title row.
  TNotifyEvent OnDblClick;

  // Saves the column layout and ordering keys when they differ from the
  // stored ones. Throws DbError.
  void SalvaAspettoColonne();
  // Applies the stored layout to the open source; on a closed query source
  // it appends the search condition in force instead. Throws DbError.
  void CaricaAspettoColonne();

  // --- Commands (menu items and keys) ---
  void RicercaCampoCorrente();     // F5
  void AnnullaRicerca();           // F6
  void ApriQuery();                // F8
  void DimezzaLarghezzaColonna();  // F9
  void PersonalizzaGriglia();
  // A double-click on the title of a column (Ctrl held or not).
  void OrdinaPerTitolo(int column, bool ctrl);

  // The host's own shortcut menu: a separator and the grid's items are
  // appended to it, and it becomes the grid's shortcut menu.
  void setPopupMenu(QMenu* menu);
  QMenu* popupMenu() const;
  QList<QAction*> azioniMenu() const;

  // The query designer, installed by whoever provides it; without one F8
  // does nothing.
  static void setApriInterrogazione(ApriInterrogazione apri);

  // --- State, for hosts and tests ---
  const QString& CondizioneRicerca() const { return condizioneRicerca_; }
  const grid::GridSettings& impostazioni() const { return settings_; }
  const grid::GridOrdering& ordinamento() const { return ordering_; }
  // The search window while it is open.
  TRQuovGridForm* finestraRicerca() const { return dialog_; }
  const grid::GridColumns& colonne() const;
  // The source field a column shows, -1 when none.
  int campoDellaColonna(int column) const;
  // The column the commands work on (the current one), -1 when none.
  int colonnaCorrente() const;
  grid::GridModel* modello() const { return model_; }

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Binding and the source's hooks.
  void scollega();
  // Drops every reference to the source (and the handlers it displaced).
  void dimenticaSorgente();
  void primaDellApertura(db::DataSet& dataSet);
  void dopoLApertura(db::DataSet& dataSet);
  void avviso(db::DataSet::Notice notice);
  db::Database* databaseImpostazioni() const;
  grid::GridKeys chiavi() const { return {Situazione, Utente, CodiceProgetto}; }
  grid::PersonalisedFields personalizzati() const {
    return {CampiPersonalizzati, CampiPersonalizzatiDecodifica};
  }
  bool sorgenteAperta() const;

  // Columns and their looks.
  void applicaColonneAllaVista();
  int larghezzaPredefinita(const db::FieldInfo& field) const;
  void coloraTitoli(bool indicizzati, bool chiavi);
  void coloraIndicizzati(grid::GridColumns& columns) const;
  void selezionaColonna(int column);
  void selezionaColonnaRicerca();

  // Menu.
  void creaMenu();
  void aggiornaMenu();
  bool queryAbilitata() const;
  QString tabellaDaSQLIniziale() const;

  // Ordering.
  QStringList originiAusiliarie() const;
  void riordina(int column);
  bool regolaTabellaGrande(const QString& fieldName) const;

  // Search.
  // The search window on a column, after the start event; sets ended once
  // the end event has been raised.
  void apriRicerca(const grid::GridColumn& searched, bool& ended);
  void alzaInizioRicerca();
  void alzaFineRicerca();
  void ricercaConTimer();
  void eseguiRicerca();
  void ricercaGenerica();
  void modoGenerico(bool on);
  void togliRicerca();
  bool tastoRicerca(QObject* box, QKeyEvent* key);
  void installaFiltro();
  void riapriQuery(const QStringList& statement);

  // Personalisation.
  void aspettoBase(TPQuovGridForm& form);
  void copiaInTabellaAppoggio();

  template <class Command>
  bool protetto(Command command);
  static ApriInterrogazione& designer();

  grid::GridModel* model_;
  db::DataSet* sorgente_ = nullptr;
  db::Query* query_ = nullptr;
  db::Table* table_ = nullptr;
  db::MemTable* mem_ = nullptr;
  int tipo_ = SorgenteNessuna;
  db::DataSet::Hook primaSpostato_;
  db::DataSet::Hook dopoSpostato_;

  grid::GridSettings settings_;
  grid::GridOrdering ordering_;

  // Search state.
  QString condizioneRicerca_;
  QString colonnaRicerca_;  // upper-case field name
  QString espressioneRicerca_;
  grid::FieldClass classeRicerca_ = grid::FieldClass::Text;
  QString filtroTesto_;
  bool filtroUpper_ = true;
  int filtroModo_ = 0;
  TRQuovGridForm* dialog_ = nullptr;
  bool generica_ = false;
  struct StatoPrimaDiGenerica {
    QString caption;
    bool tipoRicerca, upper, aggRete, ordinamento;
  } primaDiGenerica_{};
  QTimer timerRicerca_;

  // Menu.
  QMenu* menu_ = nullptr;
  QMenu* hostMenu_ = nullptr;
  QAction* azioneRicerca_ = nullptr;
  QAction* azioneAnnulla_ = nullptr;
  QAction* azioneChiave_ = nullptr;
  QAction* azioneQuery_ = nullptr;
  QAction* azioneDimezza_ = nullptr;
  QAction* azionePersonalizza_ = nullptr;

  // While the grid reopens its query itself: the lines it adds after
  // SQLIniziale, which CaricaAspettoColonne hands back to a host that
  // rebuilds the statement in its before-open handler.
  bool riaperturaPropria_ = false;
  QStringList righeRiapertura_;

  QPoint ultimaPressione_;
  Qt::KeyboardModifiers modificatoriDoppioClick_;
  int colonnaCorrente_ = 0;
  bool applicandoVista_ = false;
};
