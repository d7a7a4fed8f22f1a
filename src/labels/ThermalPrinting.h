#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>

#include "core/UserMessage.h"
#include "labels/LabelVariables.h"
#include "labels/PrintLaunch.h"
#include "labels/ThermalTemplate.h"

class TTabXForm;

namespace db {
class Transaction;
}

// Thermal label printing: each label is a text template with its tags
// replaced by the label's values, sent unchanged as a raw job of its own to
// the thermal printer, so that the template can hold the printer's own
// command language (ZPL, EPL ...).
namespace labels {

// The template's lines, read as Windows-1252 and split at CR LF, LF or CR.
// False with the reason in `error` when it cannot be read.
bool loadThermalTemplate(const QString& storedPath, QStringList* lines, QString* error);

// The environment entry holding the template of the chosen label type.
inline QString thermalTemplateEntry(bool ean) {
  return ean ? QStringLiteral("ETICHETTAEANTXT") : QStringLiteral("ETICHETTATXT");
}

// What the first label still to print (in the database's order) would send
// with the chosen template. False with the reason in `error` when there is
// no template or no label.
bool thermalPreview(TTabXForm& ambiente, db::Transaction& transaction, bool ean, bool excludeSerial,
                    QByteArray* document, QString* error);

struct ThermalResult {
  enum class Outcome {
    NoPrinter,   // no thermal printer configured: launch undone
    NoRaw,       // the printer does not take raw jobs: launch undone
    NoTemplate,  // the template cannot be read: launch undone
    Printed,     // labels printed and committed (perhaps not all)
    NothingPrinted,
    Failed
  };
  Outcome outcome = Outcome::NothingPrinted;
  int printed = 0;
  int selected = 0;
  QString error;
  core::UserMessages messages;  // what the window shows of the run
};

// The thermal run of a launch already opened with PrintLaunch::apriLancio:
// the thermal printer made the default one for the run (and the previous
// default restored on every path), the labels of `selezionati` sent one job
// each in the database's order, each stamped with the launch, and the launch
// concluded with the labels actually sent. The messages of the run come
// back for the window to show, "Stampa effettuata" when every label was
// printed. `labelSent` is told the count after each label.
ThermalResult stampaTermica(TTabXForm& ambiente, db::Transaction& transaction, PrintLaunch& launch,
                            const QStringList& selezionati, const LaunchChoices& choices,
                            const std::function<void(int sent, int total)>& labelSent = {});

}  // namespace labels
