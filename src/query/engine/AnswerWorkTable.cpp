#include "query/engine/AnswerWorkTable.h"

#include "core/SqlText.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/PreparedStatement.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "db/WorkTables.h"
#include "query/engine/LocalAnswer.h"

namespace query::engine {

namespace {

// How many times a copy is made before its failure is given up on.
constexpr int kCopyAttempts = 3;

}  // namespace

using platform::localstore::ColumnType;
using platform::localstore::LocalColumn;

QString databaseColumnType(const LocalColumn& column) {
  switch (column.type) {
    case ColumnType::Text:
      return column.size > 0 && column.size <= 32765
                 ? QStringLiteral("VARCHAR(%1)").arg(column.size)
                 : QStringLiteral("BLOB SUB_TYPE TEXT");
    case ColumnType::SmallInt:
      return QStringLiteral("SMALLINT");
    case ColumnType::Integer:
      return QStringLiteral("INTEGER");
    case ColumnType::BigInt:
      return QStringLiteral("BIGINT");
    case ColumnType::Float:
      return QStringLiteral("DOUBLE PRECISION");
    case ColumnType::Bcd:
      return QStringLiteral("NUMERIC(18,%1)").arg(qBound(0, column.size, 18));
    case ColumnType::Date:
      return QStringLiteral("DATE");
    case ColumnType::Time:
      return QStringLiteral("TIME");
    case ColumnType::Timestamp:
      return QStringLiteral("TIMESTAMP");
    case ColumnType::Memo:
      return QStringLiteral("BLOB SUB_TYPE TEXT");
    case ColumnType::Blob:
      return QStringLiteral("BLOB SUB_TYPE BINARY");
    case ColumnType::Boolean:
      return QStringLiteral("BOOLEAN");
  }
  return QStringLiteral("BLOB SUB_TYPE TEXT");
}

AnswerWorkTable::AnswerWorkTable(db::Database& database, int user)
    : database_(database), user_(user) {}

AnswerWorkTable::~AnswerWorkTable() {
  drop();
}

QString AnswerWorkTable::namePrefix(int user) {
  return db::worktables::kAnswerCopyPrefix + QString::number(user) + u'_';
}

QString AnswerWorkTable::freeName(db::Transaction& transaction) {
  db::Query query(database_, transaction);
  query.sql = QStringList{QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE")};
  query.open();
  const QString connection = query.text(query.field(0).name);
  query.close();
  for (int n = nextNumber_;; ++n) {
    const QString name = db::worktables::name(namePrefix(user_) + connection + u'_', n);
    if (db::worktables::exists(database_, transaction, name)) continue;
    nextNumber_ = n + 1;
    return name;
  }
}

void AnswerWorkTable::copy(db::Query& answer) {
  const LocalAnswer* local = LocalAnswer::of(answer);
  if (!local) throw db::DbError(QStringLiteral("La risposta non presenta una tabella locale"));
  drop();
  try {
    db::worktables::dropLeftovers(database_, namePrefix(user_));
  } catch (const db::DbError&) {
    // Only a clean-up: the copy does not depend on it.
  }
  // Now and then, while other users change tables, a table just made is
  // still unknown to this connection's statements ("Column unknown"): the
  // copy is then made again under the next name.
  for (int attempt = 1;; ++attempt) {
    create(local->columns());
    try {
      fill(answer);
      return;
    } catch (const db::DbError& error) {
      drop();
      if (attempt == kCopyAttempts || error.isCancelled()) throw;
    }
  }
}

void AnswerWorkTable::create(const platform::localstore::LocalColumns& columns) {
  QString table;
  {
    db::Transaction transaction(database_);
    table = core::sqlIdentifier(freeName(transaction));
  }
  columns_.clear();
  QStringList create{QStringLiteral("CREATE TABLE ") + table + QStringLiteral(" (")};
  for (const LocalColumn& column : columns) {
    columns_ << core::sqlQuotedIdentifier(column.name);
    create << columns_.last() + u' ' + databaseColumnType(column) +
                  (column.required ? QStringLiteral(" NOT NULL,") : QStringLiteral(","));
  }
  create << core::sqlIdentifier(kOrdinal) + QStringLiteral(" INTEGER NOT NULL)");
  // Made in a transaction of its own: a table made in a long snapshot
  // conflicts with every table other users made since it began.
  db::worktables::create(database_, table, create);
  name_ = table;
}

void AnswerWorkTable::fill(db::Query& answer) {
  db::Query rows(answer.database(), answer.transaction());
  rows.setRowSource(answer.rowSource());
  rows.setForwardOnly(true);
  rows.sql = answer.sql;
  rows.open();
  QString markers;
  for (qsizetype i = 0; i < columns_.size(); ++i) markers += QStringLiteral("?,");
  db::Transaction transaction(database_);
  db::PreparedStatement insert(transaction,
                               QStringLiteral("INSERT INTO ") + name_ + QStringLiteral(" (") +
                                   columns_.join(u',') + u',' + core::sqlIdentifier(kOrdinal) +
                                   QStringLiteral(") VALUES (") + markers + QStringLiteral("?)"),
                               db::PreparedStatement::Markers::Typed);
  QVariantList values(columns_.size() + 1);
  int ordinal = 0;
  for (; !rows.isEof(); rows.next()) {
    for (qsizetype i = 0; i < columns_.size(); ++i)
      values[i] = rows.value(rows.currentRow(), static_cast<int>(i));
    values[columns_.size()] = ++ordinal;
    insert.execute(values);
  }
  transaction.commit();
}

QStringList AnswerWorkTable::statement() const {
  QStringList lines{QStringLiteral("SELECT")};
  for (qsizetype i = 0; i < columns_.size(); ++i)
    lines << (i + 1 < columns_.size() ? columns_[i] + u',' : columns_[i]);
  lines << QStringLiteral("FROM ") + name_;
  return lines + QStringList{QStringLiteral("ORDER BY"), kOrdinal};
}

void AnswerWorkTable::drop() {
  if (name_.isEmpty()) return;
  try {
    db::worktables::drop(database_, name_);
  } catch (const db::DbError&) {
    // Still in use: the clean-up of the next copy drops it once its
    // connection has gone.
  }
  name_.clear();
}

}  // namespace query::engine
