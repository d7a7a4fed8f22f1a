#pragma once

#include <QString>
#include <QStringList>

// The commands of the `orbelan` program, which plays the host application:
// it loads libOrbelan, calls an exported function and drives the windows'
// event loop, and it can set up a demo installation.
namespace host {

// Creates, where missing, a demo installation in dir: user\user.fdb with the
// demo users and their settings, bin\Report\, Grafica\, windows\ and the main
// archive dati\archivio.fdb with the host tables and sample data. Existing
// databases are reused as they are. Throws db::DbError on failure.
void ensureDemoInstallation(const QString& dir);

// Writes the host's log row for a window identifier into the user database
// of the installation (what the host does before calling an X export).
void logWindowOpening(const QString& dir, int windowId, int user, const QString& exportName);

// `orbelan open <Export> --user N [--window-id ID] [--screenshot FILE]`
int runOpen(const QStringList& arguments);
// `orbelan demo [DIR] [--screenshot FILE]`
int runDemo(const QStringList& arguments);
// `orbelan import --user N FILE`: the label import without dialogs.
int runImport(const QStringList& arguments);
// `orbelan print --user N (--all | --ids 1,2,3) [--ean] [--exclude-serial]
//  --description TEXT --pdf OUT.pdf`: a print launch printed to a PDF file.
int runPrint(const QStringList& arguments);
// `orbelan export-launch --user N --launch ID FILE`: a launch to CSV.
int runExportLaunch(const QStringList& arguments);
// `orbelan query --user N --table T [--rows FILE] (--sql | --run)`: the
// designer's query, its statement or its answer on standard output.
int runQuery(const QStringList& arguments);

// `orbelan designer --user N [--table T]`: the query designer on the user's
// main archive (default table ETICHETTE).
int runDesigner(const QStringList& arguments);

// The command line as typed, for the messages that repeat it.
void setProgramArguments(const QStringList& arguments);

}  // namespace host
