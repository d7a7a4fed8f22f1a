#pragma once

#include <QString>

#include "db/MemTable.h"

namespace platform::reports {
class LabelEngine;
struct DefineVariablesEvent;
}  // namespace platform::reports

namespace labels {

// The barcodes collected for a reprint, in the order they were read, and
// the walk over them that the label engine makes while printing.
class ReprintList {
 public:
  ReprintList();

  // The list as the grid shows it: NRIGA (the order of entry), BARCODE.
  db::MemTable& table() { return MemTabRistampa; }
  const db::MemTable& table() const { return MemTabRistampa; }
  int size() const { return MemTabRistampa.rowCount(); }
  QString barcodeAt(int row) const;

  // The row holding exactly this barcode (letter case counts), or -1.
  int find(const QString& barcode) const;
  // Appends the barcode with the next row number.
  void add(const QString& barcode);
  void removeAt(int row);

  // Printing: the labels start at `row` (the first row when out of range).
  void startAt(int row);
  int currentRow() const { return MemTabRistampa.currentRow(); }

  // The engine's define-variables callback: the current row's label, the
  // progress through the list, and the move to the next row or the end.
  void defineVariables(platform::reports::LabelEngine& engine,
                       platform::reports::DefineVariablesEvent& event, const QString& datiProdotto,
                       const QString& descrizione);

 private:
  db::MemTable MemTabRistampa;
  int nextNumber_ = 1;
};

}  // namespace labels
