#include "HostSchema.h"

#include <QFile>
#include <mutex>

#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

// The scripts live in a static library, whose resource object the linker
// would drop unless something registers it explicitly.
static void registerSchemaResource() {
  static std::once_flag once;
  std::call_once(once, [] { Q_INIT_RESOURCE(schema); });
}

namespace host {

QStringList splitStatements(const QString& script) {
  QStringList statements;
  QStringList lines;
  const auto flush = [&] {
    if (!lines.isEmpty()) statements.append(lines.join('\n'));
    lines.clear();
  };
  for (const QString& rawLine : script.split('\n')) {
    QString line = rawLine;
    while (!line.isEmpty() && line.back().isSpace()) line.chop(1);
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1String("--"))) continue;
    if (line.endsWith(';')) {
      line.chop(1);
      if (!line.trimmed().isEmpty()) lines.append(line);
      flush();
    } else {
      lines.append(line);
    }
  }
  flush();
  return statements;
}

QStringList schemaStatements(const QString& scriptName) {
  registerSchemaResource();
  QFile file(QStringLiteral(":/schema/") + scriptName);
  if (!file.open(QIODevice::ReadOnly))
    throw db::DbError(QStringLiteral("No schema script named ") + scriptName);
  return splitStatements(QString::fromUtf8(file.readAll()));
}

void runScript(db::Database& database, const QString& scriptName) {
  const QStringList statements = schemaStatements(scriptName);
  db::Transaction transaction(database);
  for (const QString& statement : statements) {
    db::Query query(database, transaction);
    query.sql = statement.split('\n');
    try {
      query.execSql();
    } catch (const db::DbError& error) {
      throw db::DbError(error.text() + QStringLiteral("\nStatement:\n") + statement, error.codes(),
                        error.sqlCode());
    }
  }
  transaction.commit();
}

void createUserSchema(db::Database& database) {
  runScript(database, QStringLiteral("user.sql"));
}

void createArchiveSchema(db::Database& database) {
  runScript(database, QStringLiteral("archive.sql"));
}

}  // namespace host
