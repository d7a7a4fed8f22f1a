#pragma once

#include <QString>

class QWidget;

namespace db {
class Database;
}

// How a database is found and opened: the dati.ini beside it says whether it
// is reached through a server alias, a UNC name or a translated network
// path; a database that cannot be connected is created.
namespace env {

// What happens when a database cannot be connected: the user database is
// created where it is missing; the main database must already exist, so a
// missing or mistyped name never leaves a new empty database behind.
enum class WhenMissing { Create, Fail };

// Opens the database fileName ("archivio.fdb" when empty) in directory (a
// stored path ending with a backslash). Empty user or password: the client
// defaults (ISC_USER / ISC_PASSWORD, else SYSDBA and the default password).
// True when the database is connected, opened or newly created.
// dati.ini is read (and the server asked for) only in a local or UNC
// directory: a directory in "server:path" form names its server already.
bool ApriDatabase(db::Database& database, const QString& directory, const QString& fileName,
                  const QString& user = {}, const QString& password = {}, QWidget* owner = nullptr,
                  WhenMissing whenMissing = WhenMissing::Create);

// Connects databaseName (prefixed by "server:" when a server is given, the
// drive letter replacing the first character of the path), or creates it
// when the connection fails and whenMissing allows it.
bool AttivaDatabase(db::Database& database, const QString& databaseName, const QString& server,
                    const QString& driveLetter, const QString& user = {},
                    const QString& password = {}, WhenMissing whenMissing = WhenMissing::Create);

// True for a stored directory of this machine or a UNC one (C:\dati\,
// \dati\, \\SRV\share\): the places where dati.ini can lie.
bool isLocalOrUncDirectory(const QString& directory);

struct ServerAnswer {
  QString server;
  QString driveLetter;
};
// Server name and drive letter from directory + "dati.ini"; when the server is
// missing the user is asked, and the answer written back to the file.
ServerAnswer ChiediServer(const QString& directory, QWidget* owner = nullptr);

struct NetworkPath {
  QString path;
  bool namedShare = false;
  bool error = false;
};
// Turns \\SERVER\SHARE\rest\ into a server path: a one-letter share is a
// drive ("SERVER:E:\rest\"), a named share needs the server-local directory.
NetworkPath TraduciPercorsoRete(const QString& uncDirectory, const QString& serverDirectory);

}  // namespace env
