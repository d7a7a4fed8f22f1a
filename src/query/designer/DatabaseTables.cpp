#include "query/designer/DatabaseTables.h"

#include <stdexcept>

#include "core/SqlText.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "db/WorkTables.h"
#include "ui/Prompter.h"

namespace query::designer {

QStringList userTables(db::Database& database, db::Transaction& transaction) {
  transaction.ensureStarted();
  db::Query tables(database, transaction);
  tables.sql << QStringLiteral("SELECT TRIM(RDB$RELATION_NAME) AS NOME, RDB$DESCRIPTION AS NOTA")
             << QStringLiteral("FROM RDB$RELATIONS")
             << QStringLiteral("WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 AND RDB$VIEW_BLR IS NULL")
             << QStringLiteral("ORDER BY 1");
  tables.open();
  QStringList names;
  for (; !tables.isEof(); tables.next()) {
    const QString name = tables.text(QStringLiteral("NOME"));
    if (!db::worktables::isWorkTable(name, tables.text(QStringLiteral("NOTA")))) names << name;
  }
  return names;
}

std::optional<QStringList> tableFields(db::Database& database, db::Transaction& transaction,
                                       const QString& table) {
  try {
    const QString name = core::sqlIdentifier(table);
    transaction.ensureStarted();
    db::Query describe(database, transaction);
    describe.sql << QStringLiteral("SELECT * FROM \"%1\"").arg(name);
    describe.describe();
    QStringList names;
    for (int i = 0; i < describe.fieldCount(); ++i) names << describe.field(i).name;
    return names;
  } catch (const db::DbError& error) {
    ui::error(error.text());
  } catch (const std::invalid_argument& error) {
    ui::error(QString::fromUtf8(error.what()));
  }
  return std::nullopt;
}

}  // namespace query::designer
