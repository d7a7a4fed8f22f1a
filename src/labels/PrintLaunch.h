#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class TTabXForm;

namespace db {
class Transaction;
}
namespace platform::reports {
class LabelEngine;
struct DefineVariablesEvent;
}  // namespace platform::reports

// A print launch: a LANCISTAMPA row with the user's description, the
// selected labels printed in the order they were selected, each stamped with
// the launch as its variables are defined, and at the end only the labels
// actually printed kept in the launch. All of it runs in the label window's
// own no-wait transaction.
namespace labels {

struct LaunchChoices {
  bool ean = false;            // "Con EAN": the EAN project and template
  bool excludeSerial = false;  // "Escludi N° seriale": codes cut to 16 characters
  bool edit = false;           // "Edita etichetta": design the project instead
};

class PrintLaunch {
 public:
  enum class Outcome {
    Printed,         // labels printed and kept in the launch (perhaps not all)
    NothingPrinted,  // cancelled or failed before the first label: all undone
    Conflict,        // another user holds one of the labels: all undone
    Failed           // the launch could not be committed: all undone
  };
  struct Result {
    Outcome outcome = Outcome::NothingPrinted;
    int printed = 0;
    int selected = 0;
    QStringList alreadyPrinted;  // IDs printed meanwhile by another launch, skipped
    int deleted = 0;             // selected labels deleted meanwhile, skipped
    QString error;               // why the launch was not kept
    QString stopReason;          // why printing stopped before the last label
  };

  PrintLaunch(TTabXForm& ambiente, db::Transaction& transaction, QStringList selezionati,
              LaunchChoices choices);

  // The label project (or thermal template) of the chosen type.
  static QString projectEntry(bool ean) {
    return ean ? QStringLiteral("ETICHETTAEANLBL") : QStringLiteral("ETICHETTALBL");
  }
  QString projectFile() const;

  // The launch row with today's date and the description (apostrophes as
  // "´"). False after the message, the statement saved beside the program.
  bool apriLancio(const QString& descrizione, const QDate& oggi = QDate::currentDate());
  const QString& IdLancio() const { return idLancio_; }

  // The engine's define-variables event for the label at IndiceStampa.
  void defineVariables(platform::reports::LabelEngine& engine,
                       platform::reports::DefineVariablesEvent& event);

  // After the engine's run, given how many labels it printed: labels
  // stamped but not printed are taken out of the launch again, then the
  // launch is committed, or everything is undone when nothing was printed
  // or another user's lock was met.
  Result concludi(int labelsPrinted);

  // The same for a print whose output the engine holds (setHoldOutput):
  // the launch is concluded first, then the output is delivered when the
  // launch kept labels and discarded otherwise, so that what comes out is
  // exactly what the launch records. Should the delivery fail after the
  // commit, the launch is withdrawn again and Failed says why (and, when
  // even that fails, which launch keeps the labels).
  Result concludi(platform::reports::LabelEngine& engine);

  // Thermal printing stamps each label itself, just before sending it.
  // Conflict: another user holds the label (nothing stamped, the labels
  // stamped so far stay). Other database failures are raised.
  enum class Stamp { Stamped, AlreadyPrinted, Conflict, Failed };
  Stamp stampaEtichetta(const QString& id);

 private:
  bool stamp(const QString& id);
  // Undoes a committed launch: its labels back in the list, its row gone.
  bool ritiraLancio(QString* error);

  TTabXForm& ambiente_;
  db::Transaction& transaction_;
  QStringList selezionati_;
  LaunchChoices choices_;
  QString idLancio_;
  int indiceStampa_ = 0;
  QStringList stamped_;  // in printing order
  QStringList alreadyPrinted_;
  bool conflict_ = false;
  QString error_;
};

}  // namespace labels
