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

// A database name in the form it is opened in: a path of this machine
// written with forward slashes ("/srv/dati/a.fdb", "C:/dati/a.fdb") becomes
// its stored form with backslashes, so that it is found as the stored form
// is (dati.ini beside it); every other name is returned unchanged.
QString storedDatabaseName(const QString& name);

// True for a name that says where its database lies, in a form the client
// library takes:
//   a local or UNC path (C:\dati\a.fdb, \srv\dati\a.fdb, \\SRV\share\a.fdb;
//     a name ending in a backslash means archivio.fdb in that folder),
//   "server:path" with the server's own path (srv:C:\dati\a.fdb,
//     srv:/srv/dati/a.fdb, srv:\srv\dati\a.fdb) or an alias (srv:archivio),
//     the server possibly followed by a port or service ("srv/3051:..."),
//   a URL: "inet://srv/alias", "inet://srv//srv/dati/a.fdb" (inet4, inet6,
//     a port after the server's name).
// An empty or relative name would be looked for wherever the process runs.
bool isCompleteDatabaseName(const QString& name);

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
