#pragma once

#include <QList>
#include <vector>

#include "platform/reports/LabelEngine.h"

// A window's define-variables callback over a list of records, as the label
// windows write it: each call defines the next record's variables, reports
// the progress as index / count × 100 and flags the last record. Every call
// is recorded.
struct LabelRecords {
  QList<platform::reports::Variables> records;
  std::vector<platform::reports::DefineVariablesEvent> calls;
  int index = 0;
  // Called after the variables are defined, to look at or change the event.
  std::function<void(platform::reports::DefineVariablesEvent&)> also;

  void attach(platform::reports::LabelEngine& engine) {
    engine.setDefineVariablesHandler(
        [this, &engine](platform::reports::DefineVariablesEvent& event) {
          const platform::reports::Variables& record = records.at(index);
          for (auto it = record.begin(); it != record.end(); ++it)
            engine.defineVariable(it.key(), it.value());
          if (!event.designMode) {
            event.progress = qRound(100.0 * index / records.size());
            if (index + 1 == records.size())
              event.lastRecord = true;
            else
              ++index;
          }
          if (also) also(event);
          calls.push_back(event);
        });
  }
};

// A label of the demo projects.
inline platform::reports::Variables demoLabel(const QString& code, const QString& ean = {}) {
  return {{QStringLiteral("CodiceBarre"), code},
          {QStringLiteral("DatiProdotto"), QStringLiteral("MOD.0101 VAR.001 TG.46 100% LANA")},
          {QStringLiteral("Descrizione"), QStringLiteral("GIACCA BLAZER")},
          {QStringLiteral("Descrizione1"), QStringLiteral("BLU NOTTE")},
          {QStringLiteral("Ordine"), QStringLiteral("0117")},
          {QStringLiteral("Codice_EAN"), ean}};
}
