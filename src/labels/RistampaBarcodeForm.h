#pragma once

#include "app/EnvironmentWindow.h"
#include "labels/ReprintList.h"
#include "platform/reports/LabelEngine.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
namespace grid {
class GridModel;
}  // namespace grid

// The barcode reprint window: barcodes read one by one into a list, two
// texts typed once for the whole list, and the list printed as labels,
// optionally from a chosen barcode on.
class TRistampaBarcodeForm : public app::StandaloneCapableWindow {
  Q_OBJECT

 public:
  TRistampaBarcodeForm(QWidget* owner, std::unique_ptr<TTabXForm> ambiente);
  ~TRistampaBarcodeForm() override;

  const labels::ReprintList& lista() const { return lista_; }
  const platform::reports::LabelEngine& motore() const { return MotoreEtichette; }

  // Enter in the barcode box: a new barcode joins the list, one already
  // there is offered for removal.
  void EditBarcodeInvio();
  // Delete on the grid: the current row, after asking.
  void EliminaRigaCorrente();
  // Double click on the grid: the current barcode becomes the start barcode.
  void GridRistampaDblClick();
  void ButtonStampaClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int currentGridRow() const;
  bool confermaEliminazione(const QString& barcode);

  labels::ReprintList lista_;
  platform::reports::LabelEngine MotoreEtichette;

  QLineEdit* EditBarcode;
  QLineEdit* EditDatiProdotto;
  QLineEdit* EditDescrizione;
  QLineEdit* EditBarcodeInizio;
  QTableView* GridRistampa;
  grid::GridModel* modello_;
  QPushButton* ButtonStampa;
  QPushButton* ButtonChiudi;
};
