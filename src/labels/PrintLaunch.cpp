#include "labels/PrintLaunch.h"

#include "core/Cp1252.h"
#include "core/Dates.h"
#include "core/SqlText.h"
#include "core/TextFile.h"
#include "db/Query.h"
#include "env/TabX.h"
#include "labels/LabelVariables.h"
#include "platform/reports/LabelEngine.h"
#include "ui/Prompter.h"

namespace labels {

namespace {

const QString kLaunchErrorFile = QStringLiteral("GestEticForm.Lancio.sql");

}  // namespace

PrintLaunch::PrintLaunch(TTabXForm& ambiente, db::Transaction& transaction, QStringList selezionati,
                         LaunchChoices choices)
    : ambiente_(ambiente),
      transaction_(transaction),
      selezionati_(std::move(selezionati)),
      choices_(choices) {}

QString PrintLaunch::projectFile() const {
  return ambiente_.GetV(projectEntry(choices_.ean));
}

bool PrintLaunch::apriLancio(const QString& descrizione, const QDate& oggi) {
  db::Query query(transaction_.database(), transaction_);
  try {
    // A fresh snapshot: labels printed by launches committed since the list
    // was read are seen as printed, and skipped.
    if (transaction_.isActive()) transaction_.commit();
    transaction_.start();
    query.sql << QStringLiteral("SELECT GEN_ID(IDLANCISTAMPACOUNTER,1)")
              << QStringLiteral("FROM RDB$DATABASE");
    query.open();
    idLancio_ = query.text(query.field(0).name);
    query.close();
  } catch (const db::DbError&) {
    idLancio_.clear();
  }
  query.sql = QStringList{
      QStringLiteral("INSERT INTO LANCISTAMPA (ID,DATA,NOTE) VALUES("),
      core::sqlString(idLancio_) + ',', core::sqlString(core::sqlDate(oggi)) + ',',
      descrizione.isEmpty() ? QStringLiteral("NULL)")
                            : core::sqlString(core::apostrophesToAcute(descrizione)) + ')'};
  try {
    if (idLancio_.isEmpty()) throw db::DbError(QStringLiteral("generatore non disponibile"));
    query.execSql();
    return true;
  } catch (const db::DbError&) {
    const QString binDir = ambiente_.GetV(QStringLiteral("BinDir"));
    core::writeTextLines(binDir + kLaunchErrorFile, query.sql);
    ui::error(QStringLiteral("Errore interno di INSERT: impossibile effettuare il lancio stampa. "
                             "Controllare il file: \"") +
              binDir + kLaunchErrorFile + '"');
    idLancio_.clear();
    return false;
  }
}

bool PrintLaunch::stamp(const QString& id) {
  // Only a label still unprinted is stamped: one printed meanwhile by
  // another launch stays in that launch.
  db::Query query(transaction_.database(), transaction_);
  query.sql << QStringLiteral("UPDATE ETICHETTE SET")
            << QStringLiteral("IDLANCIOSTAMPA=") + core::sqlString(idLancio_)
            << QStringLiteral("WHERE ID=") + core::sqlString(id)
            << QStringLiteral("AND IDLANCIOSTAMPA IS NULL");
  query.execSql();
  return query.rowsAffected() > 0;
}

void PrintLaunch::defineVariables(platform::reports::LabelEngine& engine,
                                  platform::reports::DefineVariablesEvent& event) {
  if (selezionati_.isEmpty()) {
    event.lastRecord = true;
    event.eventResult = platform::reports::StopPrinting;
    return;
  }
  const int count = static_cast<int>(selezionati_.size());
  const QString id = selezionati_.at(std::min(indiceStampa_, count - 1));
  event.eventResult = platform::reports::PrintRecord;
  try {
    db::Query query(transaction_.database(), transaction_);
    query.sql << QStringLiteral("SELECT CODICE,DATIPRODOTTO,DESCRIZIONE,CAUSALE,ORDINE")
              << QStringLiteral(",CODICE_EAN") << QStringLiteral("FROM ETICHETTE")
              << QStringLiteral("WHERE ID=") + core::sqlString(id);
    query.open();
    if (query.isEmpty()) {
      // Deleted meanwhile: nothing to print for it.
      alreadyPrinted_ << id;
      event.eventResult = platform::reports::SkipRecord;
    } else {
      const LabelRow row{
          query.text(QStringLiteral("CODICE")),      query.text(QStringLiteral("DATIPRODOTTO")),
          query.text(QStringLiteral("DESCRIZIONE")), query.text(QStringLiteral("CAUSALE")),
          query.text(QStringLiteral("ORDINE")),      query.text(QStringLiteral("CODICE_EAN"))};
      for (const auto& [name, value] : labelVariables(row, choices_.excludeSerial).named())
        engine.defineVariable(name, value);
      if (!choices_.edit && !event.designMode) {
        if (stamp(id)) {
          stamped_ << id;
        } else {
          alreadyPrinted_ << id;
          event.eventResult = platform::reports::SkipRecord;
        }
      }
    }
  } catch (const db::DbError& error) {
    conflict_ = conflict_ || error.isLockConflict();
    if (!error.isLockConflict()) error_ = error.text();
    event.eventResult = platform::reports::StopPrinting;
    event.lastRecord = true;
    return;
  }
  if (event.designMode) return;
  event.progress = labelProgress(indiceStampa_, count);
  if (indiceStampa_ + 1 >= count)
    event.lastRecord = true;
  else
    ++indiceStampa_;
}

PrintLaunch::Stamp PrintLaunch::stampaEtichetta(const QString& id) {
  try {
    if (stamp(id)) {
      stamped_ << id;
      return Stamp::Stamped;
    }
  } catch (const db::DbError& error) {
    if (error.isLockConflict()) return Stamp::Conflict;
    throw;
  }
  alreadyPrinted_ << id;
  return Stamp::AlreadyPrinted;
}

PrintLaunch::Result PrintLaunch::concludi(int labelsPrinted) {
  Result result;
  result.selected = static_cast<int>(selezionati_.size());
  result.alreadyPrinted = alreadyPrinted_;
  const auto undo = [&](Outcome outcome) {
    try {
      transaction_.rollbackAndRestart();
    } catch (const db::DbError&) {
    }
    result.outcome = outcome;
    result.printed = 0;
    return result;
  };
  if (conflict_) return undo(Outcome::Conflict);
  if (!error_.isEmpty()) {
    result.error = error_;
    return undo(Outcome::Failed);
  }
  const int printed = std::min<int>(labelsPrinted, static_cast<int>(stamped_.size()));
  if (printed <= 0) return undo(Outcome::NothingPrinted);
  try {
    db::Query query(transaction_.database(), transaction_);
    for (int i = printed; i < stamped_.size(); ++i) {
      query.sql =
          QStringList{QStringLiteral("UPDATE ETICHETTE SET IDLANCIOSTAMPA=NULL"),
                      QStringLiteral("WHERE ID=") + core::sqlString(stamped_.at(i)) +
                          QStringLiteral(" AND IDLANCIOSTAMPA=") + core::sqlString(idLancio_)};
      query.execSql();
    }
    transaction_.commit();
    transaction_.start();
  } catch (const db::DbError& error) {
    result.error = error.text();
    return undo(error.isLockConflict() ? Outcome::Conflict : Outcome::Failed);
  }
  result.outcome = Outcome::Printed;
  result.printed = printed;
  return result;
}

PrintLaunch::Result PrintLaunch::concludi(platform::reports::LabelEngine& engine) {
  Result result = concludi(engine.labelsPrinted());
  if (result.outcome != Outcome::Printed) {
    engine.discardOutput();
    return result;
  }
  if (engine.deliverOutput()) return result;
  // Committed, but the file could not be put in place or the job was
  // refused: the labels go back to the list rather than stay recorded as
  // printed.
  QString error;
  if (ritiraLancio(&error)) {
    result.error = engine.lastError();
    result.printed = 0;
  } else {
    result.error = QStringLiteral("%1. Le etichette restano nel lancio %2 (%3)")
                       .arg(engine.lastError(), idLancio_, error);
  }
  result.outcome = Outcome::Failed;
  return result;
}

bool PrintLaunch::ritiraLancio(QString* error) {
  try {
    db::Query query(transaction_.database(), transaction_);
    transaction_.ensureStarted();
    query.sql = QStringList{QStringLiteral("UPDATE ETICHETTE SET IDLANCIOSTAMPA=NULL"),
                            QStringLiteral("WHERE IDLANCIOSTAMPA=") + core::sqlString(idLancio_)};
    query.execSql();
    query.sql = QStringList{QStringLiteral("DELETE FROM LANCISTAMPA WHERE ID=") +
                            core::sqlString(idLancio_)};
    query.execSql();
    transaction_.commit();
    transaction_.start();
    return true;
  } catch (const db::DbError& failure) {
    *error = failure.text();
    try {
      transaction_.rollbackAndRestart();
    } catch (const db::DbError&) {
    }
    return false;
  }
}

}  // namespace labels
