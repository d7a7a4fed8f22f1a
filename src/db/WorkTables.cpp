#include "db/WorkTables.h"

#include <QList>
#include <QPair>

#include "core/SqlText.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace db::worktables {

namespace {

// The mark in the table's description: the attachment that made it.
const QString kOwnerPrefix = QStringLiteral("ATTACHMENT ");

}  // namespace

QString name(const QString& prefix, qint64 counter) {
  return prefix + QString::number(counter);
}

bool exists(Database& database, Transaction& transaction, const QString& name) {
  Query query(database, transaction);
  query.sql << QStringLiteral("SELECT * FROM RDB$RELATIONS")
            << QStringLiteral("WHERE RDB$RELATION_NAME=") + core::sqlString(name);
  query.open();
  return !query.isEmpty();
}

void create(Database& database, Transaction& transaction, const QString& name,
            const QStringList& createStatement) {
  Query query(database, transaction);
  query.sql = createStatement;
  query.execSql();
  transaction.commitRetaining();
  query.sql = QStringList{QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE")};
  query.open();
  const QString owner = kOwnerPrefix + query.text(query.field(0).name);
  query.close();
  query.sql = QStringList{QStringLiteral("COMMENT ON TABLE ") + core::sqlIdentifier(name) +
                          QStringLiteral(" IS ") + core::sqlString(owner)};
  query.execSql();
  transaction.commitRetaining();
}

void drop(Database& database, Transaction& transaction, const QString& name) {
  if (!exists(database, transaction, name)) return;
  Query query(database, transaction);
  query.sql = QStringList{QStringLiteral("DROP TABLE ") + core::sqlIdentifier(name)};
  query.execSql();
  transaction.commitRetaining();
}

QStringList dropLeftovers(Database& database, const QString& prefix) {
  QStringList dropped;
  QList<QPair<QString, QString>> tables;
  Transaction transaction(database);
  {
    Query query(database, transaction);
    query.sql << QStringLiteral(
                     "SELECT TRIM(RDB$RELATION_NAME) AS NOME, RDB$DESCRIPTION AS PROPRIETARIO")
              << QStringLiteral("FROM RDB$RELATIONS WHERE RDB$RELATION_NAME STARTING WITH ") +
                     core::sqlString(prefix);
    for (query.open(); !query.isEof(); query.next())
      tables.append(
          {query.text(QStringLiteral("NOME")), query.text(QStringLiteral("PROPRIETARIO"))});
  }
  for (const auto& [table, owner] : tables) {
    if (!owner.startsWith(kOwnerPrefix) || !core::isSqlIdentifier(table)) continue;
    bool ok = false;
    const qint64 attachment = owner.mid(kOwnerPrefix.size()).toLongLong(&ok);
    if (!ok) continue;
    Query alive(database, transaction);
    alive.sql << QStringLiteral("SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID=") +
                     QString::number(attachment);
    alive.open();
    if (alive.value(0, 0).toLongLong() > 0) continue;
    alive.close();
    try {
      Transaction dropping(
          database, {QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait")});
      Query drop(database, dropping);
      drop.sql << QStringLiteral("DROP TABLE ") + table;
      drop.execSql();
      dropping.commit();
      dropped << table;
    } catch (const DbError&) {
      // In use after all: its window is still working with it.
    }
  }
  transaction.commit();
  return dropped;
}

}  // namespace db::worktables
