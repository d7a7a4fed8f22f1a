#pragma once

#include "app/EnvironmentWindow.h"
#include "db/Query.h"
#include "db/Transaction.h"

class QCheckBox;
class QPushButton;
class QTableView;
namespace grid {
class GridModel;
}  // namespace grid

// The launch export window: the print launches that have labels, and the
// export of the current one to a semicolon-separated file for the system
// that takes the labels over, marking the launch exported.
class TExportLanciForm : public app::EnvironmentWindow {
  Q_OBJECT

 public:
  TExportLanciForm(QWidget* owner, std::unique_ptr<TTabXForm> ambiente);
  ~TExportLanciForm() override;

  // Closes and reopens the launch list as the check boxes ask.
  void ApriLista();
  void ButtonExportClick();

 private:
  qint64 launchOfCurrentRow() const;

  // Declared in this order so that queries go before their transaction.
  db::Transaction transazione_;
  db::Query QueryLanci;
  db::Query QueryAux;

  QCheckBox* CheckEsportati;
  QCheckBox* CheckSenzaOrdine;
  QTableView* GridLanci;
  grid::GridModel* modelloLanci_;
  QPushButton* ButtonExport;
  QPushButton* ButtonChiudi;
};
