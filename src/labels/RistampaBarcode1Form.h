#pragma once

#include <memory>

#include "app/EnvironmentWindow.h"
#include "db/MemTable.h"

class QLineEdit;
class QPushButton;
class TQuovGrid;

namespace labels {
class ReprintPrintTable;
}

// The reprint list with article decoding: barcodes (serial numbers) are
// decoded into article data from the warehouse movements and the master
// data, collected in a list and printed by the sibling print library from a
// per-window temporary table, on the user's label printer.
class TRistampaBarcode1Form : public app::StandaloneCapableWindow {
  Q_OBJECT

 public:
  TRistampaBarcode1Form(QWidget* owner, std::unique_ptr<TTabXForm> ambiente);
  ~TRistampaBarcode1Form() override;

  db::MemTable MemTabRistampa;

  // The name of this window's temporary print table (empty when it could
  // not be created).
  QString tabellaStampa() const;
  const QString& stampanteEtichette() const { return stampanteEtichette_; }
  const QString& stampanteDocumenti() const { return stampanteDocumenti_; }

  void Decodifica();
  void Stampa();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildControls();
  QString leggiStampante(const QString& nome);
  void invioBarcode();
  void eliminaRigaCorrente();
  void svuotaDecodifica(bool ancheCodice);
  // Positions the list on the start barcode; false when printing stops.
  bool preparaStampa(int& primaRiga);
  void chiamaVopra();

  QString nomeReport_;
  QString stampanteDocumenti_;
  QString stampanteEtichette_;
  QString stampanteIniziale_;
  std::unique_ptr<labels::ReprintPrintTable> tabella_;
  bool tabellaCreata_ = false;
  // The NRIGA of the last row added: rows keep their numbers and a number
  // is not given twice, also after rows were removed.
  int ultimaRiga_ = 0;
  bool tabellaEliminata_ = false;

  TQuovGrid* grid_ = nullptr;
  QLineEdit* editBarcode_ = nullptr;
  QLineEdit* editCodice_ = nullptr;
  QLineEdit* editDescrizione_ = nullptr;
  QLineEdit* editBarcodeInizio_ = nullptr;
  QLineEdit* editModello_ = nullptr;
  QLineEdit* editVariante_ = nullptr;
  QLineEdit* editTaglia_ = nullptr;
};
