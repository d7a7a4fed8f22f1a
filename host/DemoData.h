#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace db {
class Database;
}

// Sample content for the host's databases: a demo user with its settings and
// the stock of a small clothing business with labels waiting to be printed.
// The data is always the same, so tests can count on it. Both functions
// expect a database freshly made by the host schema (HostSchema.h).
namespace host {

struct DemoSettings {
  // Company of the demo users: the section of their settings.
  QString company = QStringLiteral("DEMO SRL");
  // "Directory bin": a stored Windows-form path ending with a backslash.
  QString binDir;
  // "Archivio": the name of the main database.
  QString archive;
  // "Directory tabelle temporanee"; when empty, binDir followed by "TEMP\".
  QString tempDir;
};

// Users written by fillUserDemo.
constexpr int kDemoUser = 1;  // "DEMO", empty password, security profile 0
constexpr int kTestUser = 2;  // "PROVA", password "prova", security profile 1

// The text image of one section of settings as UTENTI.VANDEL holds it: the
// line "[section]" followed by one "name=value" line per entry, every line
// ended by a line feed.
QString settingsImage(const QString& section, const QList<QPair<QString, QString>>& entries);

// Inserts the two users and, for each, the settings "Directory bin",
// "Archivio" and "Directory tabelle temporanee" under the company's section
// in TABVANDEL and as the VANDEL image. One transaction, committed.
void fillUserDemo(db::Database& userDb, const DemoSettings& settings);

// Inserts the sample stock and labels in one transaction and commits:
// 5 models, 5 variants, 28 articles by size, 2 imports of 40 and 30 labels
// (70 in all, with one movement each carrying the label's serial barcode),
// one earlier print launch holding the first 10 labels, so 60 are still to
// print; and the print settings of the demo user in TABX (laser mode, no
// thermal printer). Keys come from the schema's generators.
void fillArchiveDemo(db::Database& archive);

}  // namespace host
