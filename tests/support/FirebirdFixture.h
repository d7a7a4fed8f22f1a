#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "db/Database.h"

// A temporary folder for embedded databases, removed with the test.
class FirebirdTest : public ::testing::Test {
 protected:
  FirebirdTest();

  // The native path of a file in the temporary folder.
  QString path(const QString& fileName) const;
  // Creates an embedded database in the temporary folder and leaves it attached.
  std::unique_ptr<db::Database> createDatabase(
      const QString& fileName = QStringLiteral("test.fdb"));
  // Runs statements one by one, each committed in its own transaction.
  static void execute(db::Database& database, const QStringList& statements);

  QTemporaryDir dir_;
};

// The first column of the first row of a statement run in a transaction of
// its own, as text; "<none>" when there is no row.
QString readOne(db::Database& database, const QString& statement);
// Runs one statement in a transaction of its own and commits.
void runStatement(db::Database& database, const QString& statement);

// The Firebird server that tests needing network addressing use: the host
// name in ORBELAN_TEST_SERVER (set by the CI script, which starts the server).
// Returns an empty string when no server is available; under CI that fails
// the test instead, so a missing server never passes silently.
QString testServer();

#define REQUIRE_TEST_SERVER()                                                    \
  do {                                                                           \
    if (testServer().isEmpty()) GTEST_SKIP() << "no Firebird server configured"; \
  } while (0)
