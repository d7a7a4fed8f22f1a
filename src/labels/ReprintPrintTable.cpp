#include "labels/ReprintPrintTable.h"

#include "core/Cp1252.h"
#include "core/SqlText.h"
#include "core/TextFile.h"
#include "db/Query.h"
#include "db/UnitOfWork.h"
#include "env/TabX.h"
#include "ui/Prompter.h"

namespace labels {

namespace {

const QString kErrorFile = QStringLiteral("Errore.sql");
const QString kOwnerPrefix = QStringLiteral("ATTACHMENT ");

}  // namespace

ReprintPrintTable::ReprintPrintTable(TTabXForm& ambiente)
    : ambiente_(ambiente),
      name_(nameFor(ambiente.GetNumUser(),
                    ambiente.ValoreGeneratore(QStringLiteral("VOPRACOUNTER")).toLongLong())) {}

QString ReprintPrintTable::nameFor(int user, qint64 counter) {
  return QStringLiteral("TMP_ST_USER") + QString::number(user) + '_' + QString::number(counter);
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
    db::Query query(ambiente_.IBDatabase1, ambiente_.IBTransaction1);
    query.sql << QStringLiteral("SELECT * FROM RDB$RELATIONS")
              << QStringLiteral("WHERE RDB$RELATION_NAME=") + core::sqlString(name_);
    query.open();
    if (query.isEmpty()) return true;
    query.close();
    query.sql = QStringList{QStringLiteral("DROP TABLE ") + core::sqlIdentifier(name_)};
    query.execSql();
    ambiente_.IBTransaction1.commitRetaining();
    return true;
  } catch (const std::exception&) {
    ui::error(QStringLiteral("Errore interno durante l'eliminazione della tabella "));
    return false;
  }
}

bool ReprintPrintTable::create() {
  const QStringList statement = createStatement(core::sqlIdentifier(name_));
  try {
    db::Query query(ambiente_.IBDatabase1, ambiente_.IBTransaction1);
    query.sql = statement;
    query.execSql();
    ambiente_.IBTransaction1.commitRetaining();
    query.sql = QStringList{QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE")};
    query.open();
    const QString owner = kOwnerPrefix + query.text(query.field(0).name);
    query.close();
    query.sql = QStringList{QStringLiteral("COMMENT ON TABLE ") + name_ + QStringLiteral(" IS '") +
                            owner + '\''};
    query.execSql();
    ambiente_.IBTransaction1.commitRetaining();
    return true;
  } catch (const db::DbError&) {
    core::writeTextLines(ambiente_.GetV(QStringLiteral("BinDir")) + kErrorFile, statement);
    ui::error(QStringLiteral(
        "Errore interno durante la creazione della tabella di appoggio per la stampa"));
    return false;
  }
}

bool ReprintPrintTable::fill(const std::vector<ReprintRow>& rows, std::size_t first) {
  db::Query query(ambiente_.IBDatabase1, ambiente_.IBTransaction1);
  try {
    query.sql = QStringList{QStringLiteral("DELETE FROM ") + core::sqlIdentifier(name_)};
    query.execSql();
    ambiente_.IBTransaction1.commitRetaining();
  } catch (const db::DbError&) {
    ui::error(QStringLiteral(
        "Errore interno durante l'eliminazione della tabella di appoggio per la stampa"));
    return false;
  }
  // Nothing of this fill may stay unless every row went in.
  db::UnitOfWork work(ambiente_.IBTransaction1, db::UnitOfWork::AfterRollback::Restart);
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
  work.commitRetaining();
  return true;
}

QStringList ReprintPrintTable::dropLeftovers(TTabXForm& ambiente) {
  QStringList dropped;
  const QString prefix =
      QStringLiteral("TMP_ST_USER") + QString::number(ambiente.GetNumUser()) + '_';
  QList<QPair<QString, QString>> tables;
  db::Transaction transaction(ambiente.IBDatabase1);
  {
    db::Query query(ambiente.IBDatabase1, transaction);
    query.sql << QStringLiteral(
                     "SELECT TRIM(RDB$RELATION_NAME) AS NOME, RDB$DESCRIPTION AS PROPRIETARIO")
              << QStringLiteral("FROM RDB$RELATIONS WHERE RDB$RELATION_NAME STARTING WITH '") +
                     core::sqlValue(prefix) + '\'';
    for (query.open(); !query.isEof(); query.next())
      tables.append(
          {query.text(QStringLiteral("NOME")), query.text(QStringLiteral("PROPRIETARIO"))});
  }
  for (const auto& [name, owner] : tables) {
    // A table without its owner's mark was made elsewhere: left alone.
    if (!owner.startsWith(kOwnerPrefix) || !core::isSqlIdentifier(name)) continue;
    bool ok = false;
    const qint64 attachment = owner.mid(kOwnerPrefix.size()).toLongLong(&ok);
    if (!ok) continue;
    db::Query alive(ambiente.IBDatabase1, transaction);
    alive.sql << QStringLiteral("SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID=") +
                     QString::number(attachment);
    alive.open();
    if (alive.value(0, 0).toLongLong() > 0) continue;
    alive.close();
    try {
      db::Transaction dropping(ambiente.IBDatabase1, {QStringLiteral("isc_tpb_concurrency"),
                                                      QStringLiteral("isc_tpb_nowait")});
      db::Query drop(ambiente.IBDatabase1, dropping);
      drop.sql << QStringLiteral("DROP TABLE ") + name;
      drop.execSql();
      dropping.commit();
      dropped << name;
    } catch (const db::DbError&) {
      // In use after all: its window is still working with it.
    }
  }
  transaction.commit();
  return dropped;
}

}  // namespace labels
