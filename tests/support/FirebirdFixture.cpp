#include "support/FirebirdFixture.h"

#include "db/Query.h"
#include "db/Transaction.h"

FirebirdTest::FirebirdTest() {
  EXPECT_TRUE(dir_.isValid());
}

QString FirebirdTest::path(const QString& fileName) const {
  return dir_.filePath(fileName);
}

std::unique_ptr<db::Database> FirebirdTest::createDatabase(const QString& fileName) {
  auto database = std::make_unique<db::Database>();
  database->create(path(fileName), QStringLiteral("SYSDBA"), QStringLiteral("masterkey"));
  return database;
}

void FirebirdTest::execute(db::Database& database, const QStringList& statements) {
  // One transaction each: a table must be committed before rows go into it.
  for (const QString& statement : statements) runStatement(database, statement);
}

QString readOne(db::Database& database, const QString& statement) {
  db::Transaction transaction(database);
  db::Query query(database, transaction);
  query.sql << statement;
  query.open();
  return query.isEmpty() ? QStringLiteral("<none>") : query.text(query.field(0).name);
}

void runStatement(db::Database& database, const QString& statement) {
  db::Transaction transaction(database);
  db::Query query(database, transaction);
  query.sql << statement;
  query.execSql();
  transaction.commit();
}

QString testServer() {
  const QString server = qEnvironmentVariable("ORBELAN_TEST_SERVER");
  if (server.isEmpty() && !qEnvironmentVariable("CI").isEmpty())
    ADD_FAILURE() << "CI run without ORBELAN_TEST_SERVER: the Firebird server was not started";
  return server;
}
