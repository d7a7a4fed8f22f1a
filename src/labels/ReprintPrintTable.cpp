#include "labels/ReprintPrintTable.h"

#include "core/Cp1252.h"
#include "core/SqlText.h"
#include "core/TextFile.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "db/WorkTables.h"
#include "env/TabX.h"
#include "ui/Prompter.h"

namespace labels {

namespace {

const QString kErrorFile = QStringLiteral("Errore.sql");

}  // namespace

ReprintPrintTable::ReprintPrintTable(TTabXForm& ambiente)
    : ambiente_(ambiente),
      name_(nameFor(ambiente.GetNumUser(),
                    ambiente.ValoreGeneratore(QStringLiteral("VOPRACOUNTER")).toLongLong())) {}

QString ReprintPrintTable::namePrefix(int user) {
  return db::worktables::kPrintTablePrefix + QString::number(user) + '_';
}

QString ReprintPrintTable::nameFor(int user, qint64 counter) {
  return db::worktables::name(namePrefix(user), counter);
}

QStringList ReprintPrintTable::createStatement(const QString& name) {
  return {
      QStringLiteral("CREATE TABLE ") + name + QStringLiteral(" ("),
      QStringLiteral("NPAGINA Integer NOT NULL,"),
      QStringLiteral("NRIGA Integer NOT NULL,"),
      QStringLiteral("BARCODE Varchar(20),"),
      QStringLiteral("CODICE Varchar(20),"),
      QStringLiteral("DESCRIZIONE Varchar(80),"),
      QStringLiteral("MODELLO Varchar(10),"),
      QStringLiteral("VARIANTE Varchar(10),"),
      QStringLiteral("TAGLIA Varchar(3),"),
      QStringLiteral("CONSTRAINT ") + name + QStringLiteral("_T_PK PRIMARY KEY (NPAGINA,NRIGA))")};
}

QStringList ReprintPrintTable::insertStatement(const QString& name, int page, int row,
                                               const ReprintRow& values) {
  return {QStringLiteral("INSERT INTO ") + name +
              QStringLiteral(
                  " (NPAGINA,NRIGA,BARCODE,CODICE,DESCRIZIONE,MODELLO,VARIANTE,TAGLIA) VALUES("),
          QString::number(page) + ',',
          QString::number(row) + ',',
          core::sqlStringOrNull(values.barcode) + ',',
          core::sqlStringOrNull(values.codice) + ',',
          core::sqlStringOrNull(core::apostrophesToAcute(values.descrizione)) + ',',
          core::sqlStringOrNull(core::apostrophesToAcute(values.modello)) + ',',
          core::sqlStringOrNull(core::apostrophesToAcute(values.variante)) + ',',
          core::sqlStringOrNull(core::apostrophesToAcute(values.taglia)) + ')'};
}

bool ReprintPrintTable::drop() {
  try {
    db::worktables::drop(ambiente_.IBDatabase1, name_);
    return true;
  } catch (const std::exception&) {
    ui::error(QStringLiteral("Errore interno durante l'eliminazione della tabella "));
    return false;
  }
}

bool ReprintPrintTable::create() {
  const QStringList statement = createStatement(core::sqlIdentifier(name_));
  try {
    db::worktables::create(ambiente_.IBDatabase1, name_, statement);
    return true;
  } catch (const db::DbError&) {
    core::writeTextLines(ambiente_.GetV(QStringLiteral("BinDir")) + kErrorFile, statement);
    ui::error(QStringLiteral(
        "Errore interno durante la creazione della tabella di appoggio per la stampa"));
    return false;
  }
}

bool ReprintPrintTable::fill(const std::vector<ReprintRow>& rows, std::size_t first) {
  // The window's snapshot is older than the table and does not see it: the
  // rows go in through a read-committed transaction of their own, emptied
  // and filled as a whole, and committed for the print library to read.
  db::Transaction writing(ambiente_.IBDatabase1, {QStringLiteral("isc_tpb_read_committed"),
                                                  QStringLiteral("isc_tpb_rec_version"),
                                                  QStringLiteral("isc_tpb_nowait")});
  db::Query query(ambiente_.IBDatabase1, writing);
  try {
    query.sql = QStringList{QStringLiteral("DELETE FROM ") + core::sqlIdentifier(name_)};
    query.execSql();
  } catch (const db::DbError&) {
    ui::error(QStringLiteral(
        "Errore interno durante l'eliminazione della tabella di appoggio per la stampa"));
    return false;
  }
  int page = 1;
  int row = 1;
  for (std::size_t i = first; i < rows.size(); ++i, ++row) {
    if (row > kRowsPerPage) {
      ++page;
      row = 1;
    }
    query.sql = insertStatement(name_, page, row, rows[i]);
    try {
      query.execSql();
    } catch (const db::DbError&) {
      core::writeTextLines(ambiente_.GetV(QStringLiteral("BinDir")) + kErrorFile, query.sql);
      ui::error(QStringLiteral(
          "Errore interno durante il rivesramento dei dati nella  tabella temporanea di stampa"));
      return false;
    }
  }
  try {
    query.close();
    writing.commit();
  } catch (const db::DbError&) {
    ui::error(QStringLiteral(
        "Errore interno durante il rivesramento dei dati nella  tabella temporanea di stampa"));
    return false;
  }
  return true;
}

QStringList ReprintPrintTable::dropLeftovers(TTabXForm& ambiente) {
  return db::worktables::dropLeftovers(ambiente.IBDatabase1, namePrefix(ambiente.GetNumUser()));
}

}  // namespace labels
