#pragma once

#include <QString>
#include <QStringList>

namespace db {
class Database;
}

// The host application's own tables. The host owns them and creates them;
// the label library only reads and writes their rows. The scripts are
// compiled in as the resources ":/schema/user.sql" and ":/schema/archive.sql".
namespace host {

// Splits script text into statements. A statement ends on the line whose last
// non-blank character is ";" (a line holding only ";" ends the statement
// above it); the ";" is dropped. Lines starting with "--" and blank lines are
// skipped. Text left after the last ";" is a statement of its own. Each
// statement keeps its lines, joined by line feeds.
QStringList splitStatements(const QString& script);

// The statements of a compiled-in script ("user.sql", "archive.sql").
// Throws db::DbError when there is no such script.
QStringList schemaStatements(const QString& scriptName);

// Runs every statement of a script in one transaction on the attached
// database and commits. On failure nothing is kept and db::DbError is thrown,
// naming the statement that failed.
void runScript(db::Database& database, const QString& scriptName);

// User database: UTENTI, TABVANDEL, ZELMILOGFUNZ.
void createUserSchema(db::Database& database);

// Main database: TABX, the label tables, the warehouse tables, the grid
// tables and their generators.
void createArchiveSchema(db::Database& database);

}  // namespace host
