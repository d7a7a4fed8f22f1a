#pragma once

#include <QString>
#include <QStringList>

// Work tables a window keeps in a Firebird database while it is open, named
// per user with a counter ("TMP_ST_USER5_1207"). Each is marked with the
// attachment that made it, so that a table left behind by a program that
// ended without closing can be told from one still in use and dropped later.
namespace db {

class Database;
class Transaction;

namespace worktables {

// The table name: the prefix, the counter.
QString name(const QString& prefix, qint64 counter);

bool exists(Database& database, Transaction& transaction, const QString& name);

// Runs the create statement, then marks the table as this attachment's;
// commits (retaining) each step. Throws DbError.
void create(Database& database, Transaction& transaction, const QString& name,
            const QStringList& createStatement);

// Drops the table when it exists, committing (retaining). Throws DbError.
void drop(Database& database, Transaction& transaction, const QString& name);

// Drops the tables whose names start with `prefix` and whose attachment no
// longer exists, each in a transaction of its own; a table still in use, or
// one without the mark (made by another program), is left alone. Returns
// the names dropped.
QStringList dropLeftovers(Database& database, const QString& prefix);

}  // namespace worktables
}  // namespace db
