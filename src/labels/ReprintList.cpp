#include "labels/ReprintList.h"

#include <cmath>

#include "platform/reports/LabelEngine.h"

namespace labels {

namespace {
constexpr int kBarcodeColumn = 1;
}

ReprintList::ReprintList() {
  MemTabRistampa.addField(QStringLiteral("NRIGA"), db::FieldType::Integer);
  MemTabRistampa.addField(QStringLiteral("BARCODE"), db::FieldType::String, 40);
  MemTabRistampa.open();
}

QString ReprintList::barcodeAt(int row) const {
  return MemTabRistampa.value(row, kBarcodeColumn).toString();
}

int ReprintList::find(const QString& barcode) const {
  for (int row = 0; row < size(); ++row)
    if (barcodeAt(row) == barcode) return row;
  return -1;
}

void ReprintList::add(const QString& barcode) {
  MemTabRistampa.append();
  MemTabRistampa.setValue(QStringLiteral("NRIGA"), nextNumber_++);
  MemTabRistampa.setValue(QStringLiteral("BARCODE"), barcode);
  MemTabRistampa.post();
}

void ReprintList::removeAt(int row) {
  if (MemTabRistampa.setCurrentRow(row)) MemTabRistampa.remove();
}

void ReprintList::startAt(int row) {
  if (!MemTabRistampa.setCurrentRow(row)) MemTabRistampa.first();
}

void ReprintList::defineVariables(platform::reports::LabelEngine& engine,
                                  platform::reports::DefineVariablesEvent& event,
                                  const QString& datiProdotto, const QString& descrizione) {
  const int row = std::max(currentRow(), 0);
  engine.defineVariable(QStringLiteral("CodiceBarre"), barcodeAt(row));
  engine.defineVariable(QStringLiteral("DatiProdotto"), datiProdotto);
  engine.defineVariable(QStringLiteral("Descrizione"), descrizione);
  engine.defineVariable(QStringLiteral("Ordine"), QString());
  const int recordNumber = row + 1;
  event.progress = static_cast<int>(std::lround(100.0 * recordNumber / std::max(size(), 1)));
  if (event.designMode) return;
  if (recordNumber >= size())
    event.lastRecord = true;
  else
    MemTabRistampa.next();
}

}  // namespace labels
