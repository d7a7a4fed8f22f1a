#pragma once

#include <QString>
#include <QStringList>

// Work tables a window keeps in a Firebird database while it is open, named
// per user with a counter ("TMP_ST_USER5_1207"). Each is marked with the
// attachment that made it, so that a table left behind by a program that
// ended without closing can be told from one still in use and dropped later.
//
// Their definitions never change inside a window's long snapshot: a snapshot
// that started before another connection created or dropped any table fails
// its own DDL with an update conflict. Each creation, mark and drop runs in a
// short read-committed transaction of its own on the same attachment and is
// committed at once. A snapshot older than a table does not see it: its rows
// are written and read through transactions started after it.
namespace db {

class Database;
class Transaction;

namespace worktables {

// The prefixes of the work tables this program makes: the decoded reprint's
// print tables and the procedural answers' copies, each followed by the user.
inline const QString kPrintTablePrefix = QStringLiteral("TMP_ST_USER");
inline const QString kAnswerCopyPrefix = QStringLiteral("TMP_RISP_USER");

// The table name: the prefix, the counter.
QString name(const QString& prefix, qint64 counter);

bool exists(Database& database, Transaction& transaction, const QString& name);

// Runs the create statement and marks the table as this attachment's, in a
// transaction of its own, committed. Throws DbError.
void create(Database& database, const QString& name, const QStringList& createStatement);

// Marks an existing table as this attachment's work table, or takes the mark
// away (it becomes an ordinary table), in a transaction of its own. Throws
// DbError.
// The second form runs in the caller's transaction: rows written in it and
// the end of the mark become permanent together.
void mark(Database& database, const QString& name);
void unmark(Database& database, const QString& name);
void unmark(Transaction& transaction, const QString& name);

// Drops the table when it exists, in a transaction of its own, committed.
// Throws DbError.
void drop(Database& database, const QString& name);

// Whether a table of this name and description is a work table: it carries
// an attachment's mark, or its name starts with one of the prefixes above.
bool isWorkTable(const QString& name, const QString& description);

// Whether `name` is a work table marked by an attachment that no longer
// exists: one left behind by a program that ended while it was filling it.
bool isLeftover(Database& database, const QString& name);

// Drops the marked tables whose names start with `prefix` (every marked
// table when it is empty) and whose attachment no longer exists, each in a
// transaction of its own; a table still in use, or one without the mark
// (made by another program), is left alone. Returns the names dropped.
QStringList dropLeftovers(Database& database, const QString& prefix = {});

}  // namespace worktables
}  // namespace db
