#pragma once

#include <QString>
#include <QStringList>

#include "grid/ColorCode.h"

namespace db {
class Database;
}

namespace grid {

// A user's display settings for the grids of one project (the settings
// table, one row per user and project).
struct GridSettings {
  qint64 coloreRecordSelez = kColoreDesktop;  // colour hosts paint selected records with
  qint64 coloreCampiIndic = kGiallo;          // title colour of indexed columns
  qint64 coloreCampoOrd = kRosso;             // title colour of the (first) ordering column
  bool abilitaTimerRic = true;                // the search runs 1 s after the last keystroke
  bool abilitaRicF5Sempre = false;            // the large-table rule is never applied

  static QStringList statement(const QString& table, int utente, int progetto);
  // The settings of a user and project: defaults when there is no row.
  // Runs in a transaction of its own. Throws DbError.
  static GridSettings read(db::Database& database, const QString& table, int utente, int progetto);
};

}  // namespace grid
