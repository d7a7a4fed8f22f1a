#include "db/WorkTables.h"

#include <QList>
#include <QPair>
#include <QThread>

#include "core/SqlText.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace db::worktables {

namespace {

// The mark in the table's description: the attachment that made it.
const QString kOwnerPrefix = QStringLiteral("ATTACHMENT ");

// Another connection changing the same system records at this moment makes
// a statement fail with a lock conflict; it is over within moments, so the
// statement is tried again for this long before the failure counts.
constexpr int kConflictAttempts = 100;
constexpr unsigned long kConflictPauseMs = 50;

// Runs the statements in order in one short read-committed transaction of
// its own on the attachment and commits it. Read committed, the statements
// see the system tables as they are now, whatever other transactions of the
// attachment started earlier.
void runShort(Database& database, const QList<QStringList>& statements) {
  for (int attempt = 1;; ++attempt) {
    Transaction transaction(
        database, {QStringLiteral("isc_tpb_read_committed"), QStringLiteral("isc_tpb_rec_version"),
                   QStringLiteral("isc_tpb_nowait")});
    try {
      Query query(database, transaction);
      for (const QStringList& statement : statements) {
        query.sql = statement;
        query.execSql();
      }
      query.close();
      transaction.commit();
      return;
    } catch (const DbError& error) {
      if (!error.isLockConflict() || attempt >= kConflictAttempts) throw;
    }
    QThread::msleep(kConflictPauseMs);
  }
}

// The attachment a description marks; 0 without the mark.
qint64 markedAttachment(const QString& description) {
  if (!description.startsWith(kOwnerPrefix)) return 0;
  bool ok = false;
  const qint64 attachment = description.mid(kOwnerPrefix.size()).trimmed().toLongLong(&ok);
  return ok ? attachment : 0;
}

QStringList markStatement(const QString& name, const QString& description) {
  return {QStringLiteral("COMMENT ON TABLE ") + core::sqlIdentifier(name) + QStringLiteral(" IS ") +
          (description.isEmpty() ? QStringLiteral("NULL") : core::sqlString(description))};
}

QString thisAttachmentMark(Database& database) {
  Transaction transaction(
      database, {QStringLiteral("isc_tpb_read_committed"), QStringLiteral("isc_tpb_rec_version"),
                 QStringLiteral("isc_tpb_read")});
  Query query(database, transaction);
  query.sql = QStringList{QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE")};
  query.open();
  return kOwnerPrefix + query.text(query.field(0).name);
}

// A marked table whose attachment is gone, and that this user may judge: a
// user other than SYSDBA sees only its own attachments in MON$ATTACHMENTS, so
// a table another user owns is left to that user.
bool ownerGone(Database& database, Transaction& transaction, qint64 attachment,
               const QString& tableOwner) {
  if (attachment <= 0) return false;
  Query query(database, transaction);
  query.sql << QStringLiteral("SELECT TRIM(CURRENT_USER) AS UTENTE,")
            << QStringLiteral("(SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID=") +
                   QString::number(attachment) + QStringLiteral(") AS VIVE")
            << QStringLiteral("FROM RDB$DATABASE");
  query.open();
  const QString user = query.text(QStringLiteral("UTENTE"));
  if (user.compare(QLatin1String("SYSDBA"), Qt::CaseInsensitive) != 0 &&
      user.compare(tableOwner, Qt::CaseInsensitive) != 0)
    return false;
  return query.value(QStringLiteral("VIVE")).toLongLong() == 0;
}

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

void create(Database& database, const QString& name, const QStringList& createStatement) {
  const QString owner = thisAttachmentMark(database);
  runShort(database, {createStatement, markStatement(name, owner)});
}

void mark(Database& database, const QString& name) {
  runShort(database, {markStatement(name, thisAttachmentMark(database))});
}

void unmark(Database& database, const QString& name) {
  runShort(database, {markStatement(name, {})});
}

void drop(Database& database, const QString& name) {
  Transaction reading(
      database, {QStringLiteral("isc_tpb_read_committed"), QStringLiteral("isc_tpb_rec_version"),
                 QStringLiteral("isc_tpb_read")});
  if (!exists(database, reading, name)) return;
  reading.commit();
  runShort(database, {{QStringLiteral("DROP TABLE ") + core::sqlIdentifier(name)}});
}

void unmark(Transaction& transaction, const QString& name) {
  Query query(transaction.database(), transaction);
  query.sql = markStatement(name, {});
  query.execSql();
}

bool isWorkTable(const QString& name, const QString& description) {
  return markedAttachment(description) > 0 || name.startsWith(kPrintTablePrefix) ||
         name.startsWith(kAnswerCopyPrefix);
}

bool isLeftover(Database& database, const QString& name) {
  Transaction transaction(
      database, {QStringLiteral("isc_tpb_read_committed"), QStringLiteral("isc_tpb_rec_version"),
                 QStringLiteral("isc_tpb_read")});
  Query query(database, transaction);
  query.sql << QStringLiteral(
                   "SELECT RDB$DESCRIPTION AS PROPRIETARIO, TRIM(RDB$OWNER_NAME) AS UTENTE")
            << QStringLiteral("FROM RDB$RELATIONS WHERE RDB$RELATION_NAME=") +
                   core::sqlString(name);
  query.open();
  if (query.isEmpty()) return false;
  const qint64 attachment = markedAttachment(query.text(QStringLiteral("PROPRIETARIO")));
  const QString owner = query.text(QStringLiteral("UTENTE"));
  query.close();
  return ownerGone(database, transaction, attachment, owner);
}

QStringList dropLeftovers(Database& database, const QString& prefix) {
  struct Candidate {
    QString table;
    qint64 attachment;
    QString owner;
  };
  QStringList dropped;
  QList<Candidate> tables;
  Transaction transaction(
      database, {QStringLiteral("isc_tpb_read_committed"), QStringLiteral("isc_tpb_rec_version"),
                 QStringLiteral("isc_tpb_read")});
  {
    Query query(database, transaction);
    query.sql << QStringLiteral(
                     "SELECT TRIM(RDB$RELATION_NAME) AS NOME, RDB$DESCRIPTION AS PROPRIETARIO,")
              << QStringLiteral("TRIM(RDB$OWNER_NAME) AS UTENTE FROM RDB$RELATIONS")
              << QStringLiteral("WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0");
    if (!prefix.isEmpty())
      query.sql << QStringLiteral("AND RDB$RELATION_NAME STARTING WITH ") + core::sqlString(prefix);
    for (query.open(); !query.isEof(); query.next()) {
      const qint64 attachment = markedAttachment(query.text(QStringLiteral("PROPRIETARIO")));
      if (attachment > 0)
        tables.append(
            {query.text(QStringLiteral("NOME")), attachment, query.text(QStringLiteral("UTENTE"))});
    }
  }
  for (const Candidate& candidate : tables) {
    if (!core::isSqlIdentifier(candidate.table) ||
        !ownerGone(database, transaction, candidate.attachment, candidate.owner))
      continue;
    try {
      runShort(database, {{QStringLiteral("DROP TABLE ") + core::sqlIdentifier(candidate.table)}});
      dropped << candidate.table;
    } catch (const DbError&) {
      // In use after all: its window is still working with it.
    }
  }
  transaction.commit();
  return dropped;
}

}  // namespace db::worktables
