#pragma once

#include <QDialog>
#include <QString>
#include <memory>

#include "query/model/DesignerFlags.h"
#include "query/model/RowList.h"

class QAction;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTableView;
class QWidget;
class TTabXForm;

namespace db {
class Database;
class Query;
class Transaction;
}  // namespace db
namespace query::engine {
class QueryEngine;
}
namespace query::designer {
class DesignerRowsModel;
class ResultView;
class RowGrid;

// What the designer keeps for its life.
struct DesignerSettings {
  QString tabella;          // the base table
  QString directoryBin;     // holds the Report folder of report layouts
  QString directoryLavoro;  // local work tables live under it
  int utente = 0;           // 0: no user, settings from the global settings file
  QString ditta;            // the company
};
}  // namespace query::designer

// The query designer: the rows of a query over one table (one per field,
// then joined tables, the lock, side-by-side parts) in a grid with the
// commands that edit them, and, after a run, the answer. Works on a
// connection and transaction of its own, given by ApriInterrogazione.
class TIBLQueryForm : public QDialog {
  Q_OBJECT
 public:
  TIBLQueryForm(db::Database& database, db::Transaction& transaction,
                query::designer::DesignerSettings settings, QWidget* parent = nullptr);
  ~TIBLQueryForm() override;

  query::model::RowList& TabIntTmp() { return rows_; }
  db::Query& TabRispTmp() { return *answer_; }
  query::engine::QueryEngine& engine() { return *engine_; }
  query::model::DesignerFlags& flags() { return flags_; }
  db::Database& database() { return database_; }
  db::Transaction& transaction() { return transaction_; }
  const query::designer::DesignerSettings& settings() const { return settings_; }
  // The designer's own environment (users only), else nullptr.
  TTabXForm* ambiente() const { return ambiente_.get(); }

  // A designer setting: from the environment, or without one from the
  // global settings file, section the company.
  QString CaricaParametro(const QString& nome);
  // Stores a designer setting where CaricaParametro reads it.
  void SalvaParametro(const QString& nome, const QString& valore);

  // The commands, as the buttons, keys and menu run them.
  void ButtonEseguiClick();
  void ButtonSelezionaTuttoClick();
  void ButtonDeselezionaTuttoClick();
  void ButtonAggiungiTabellaClick();
  void ButtonEliminaTabellaClick();
  void ButtonElabAvanzateClick();
  void ButtonChiudiClick();
  void ButtonRitornaClick();
  void CopiaSql();
  void InserisciSomma();
  // Handles a key of the row list (F3 to F10); false when it is not one.
  bool TastoRighe(int key);

  // The result view after a successful run, and back.
  void SettaFormRisposta();
  void SettaggioControlli();
  bool inResultView() const;

  // Width in characters of Condizione for the grid's width in pixels.
  static int larghezzaCondizione(int gridWidth) { return (gridWidth - 230) / 8 + 1; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void buildDesignView(QWidget* page);
  void buildMenu();
  bool refusedWhenLocked();
  int currentRow() const;
  void setCurrentCondition(const QString& condition);
  void adjustConditionWidth();
  // Runs the rows (clipboard mode or not); false after the failure message.
  bool runRows(bool clipboard);

  void keyParenthesis();
  void keyFieldName();
  void keyRange();
  void keyFormula();
  void keyYearMonth();
  void keyConditionEditor();
  void keyValue();

  db::Database& database_;
  db::Transaction& transaction_;
  query::designer::DesignerSettings settings_;
  query::model::RowList rows_;
  query::model::DesignerFlags flags_;
  std::unique_ptr<db::Query> answer_;
  std::unique_ptr<query::engine::QueryEngine> engine_;
  std::unique_ptr<TTabXForm> ambiente_;

  query::designer::DesignerRowsModel* rowsModel_;
  query::designer::RowGrid* gridQuery_;
  query::designer::ResultView* resultView_;
  QStackedWidget* pages_;
  QWidget* designPage_;
  QWidget* resultPage_;
  QPushButton* buttonEsegui_;
  QPushButton* buttonSeleziona_;
  QPushButton* buttonDeseleziona_;
  QPushButton* buttonAggiungi_;
  QPushButton* buttonElimina_;
  QPushButton* buttonElabAvanzate_;
  QPushButton* buttonChiudi_;
  QAction* precedente_;
  QAction* successiva_;
};
