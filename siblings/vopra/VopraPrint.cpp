#include "VopraPrint.h"

#include <cmath>

#include "db/DataSet.h"
#include "platform/reports/LabelEngine.h"

namespace vopra {

Rows readRows(db::DataSet& dataset) {
  Rows rows;
  while (dataset.canFetchMore()) {
    if (dataset.fetchMore(1000) <= 0) break;
  }
  for (int column = 0; column < dataset.fieldCount(); ++column)
    rows.columns << dataset.field(column).name;
  for (int row = 0; row < dataset.rowCount(); ++row) {
    QStringList values;
    for (int column = 0; column < dataset.fieldCount(); ++column) {
      const QVariant value = dataset.value(row, column);
      values << (value.isNull() ? QString() : value.toString());
    }
    rows.values.push_back(values);
  }
  return rows;
}

bool printRows(const Rows& rows, const QString& report, const QString& title, bool direct,
               QString& error) {
  if (rows.values.empty()) return true;
  platform::reports::LabelEngine engine;
  std::size_t current = 0;
  const auto column = [&rows](const QString& name) { return rows.columns.indexOf(name); };
  const int barcode = column(QStringLiteral("BARCODE"));
  const int descrizione = column(QStringLiteral("DESCRIZIONE"));
  const int codice = column(QStringLiteral("CODICE"));
  engine.setDefineVariablesHandler([&](platform::reports::DefineVariablesEvent& event) {
    const QStringList& values = rows.values.at(current);
    for (int i = 0; i < rows.columns.size(); ++i)
      engine.defineVariable(rows.columns.at(i), values.at(i));
    const auto valueAt = [&values](int index) { return index >= 0 ? values.at(index) : QString(); };
    engine.defineVariable(QStringLiteral("CodiceBarre"), valueAt(barcode));
    engine.defineVariable(QStringLiteral("Descrizione"), valueAt(descrizione));
    engine.defineVariable(QStringLiteral("Codice_EAN"), valueAt(codice));
    if (event.designMode) return;
    event.progress = static_cast<int>(std::lround(100.0 * static_cast<double>(current + 1) /
                                                  static_cast<double>(rows.values.size())));
    if (current + 1 >= rows.values.size())
      event.lastRecord = true;
    else
      ++current;
  });
  const QString pdf = qEnvironmentVariable("ORBELAN_VOPRA_PDF");
  const int result =
      pdf.isEmpty() ? engine.print(0, platform::reports::ProjectType::Label, report, false,
                                   platform::reports::kDestinationChosenByUser,
                                   platform::reports::BoxType::Waiting, nullptr, title, !direct)
                    : engine.printToPdf(0, report, pdf);
  if (result == platform::reports::Completed || result == platform::reports::Cancelled) return true;
  error = engine.lastError();
  return false;
}

}  // namespace vopra
