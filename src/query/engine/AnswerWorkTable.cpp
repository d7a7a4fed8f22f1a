#include "query/engine/AnswerWorkTable.h"

#include "core/SqlText.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/PreparedStatement.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "db/WorkTables.h"

namespace query::engine {

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

AnswerWorkTable::AnswerWorkTable(db::Database& database, db::Transaction& transaction, int user)
    : database_(database), transaction_(transaction), user_(user) {}

AnswerWorkTable::~AnswerWorkTable() {
  drop();
}

QString AnswerWorkTable::namePrefix(int user) {
  return QStringLiteral("TMP_RISP_USER") + QString::number(user) + u'_';
}

QString AnswerWorkTable::freeName() {
  db::Query query(database_, transaction_);
  query.sql = QStringList{QStringLiteral("SELECT CURRENT_CONNECTION FROM RDB$DATABASE")};
  query.open();
  const QString connection = query.text(query.field(0).name);
  query.close();
  for (int n = 1;; ++n) {
    const QString name = db::worktables::name(namePrefix(user_) + connection + u'_', n);
    if (!db::worktables::exists(database_, transaction_, name)) return name;
  }
}

void AnswerWorkTable::create(const platform::localstore::LocalColumns& columns) {
  drop();
  try {
    db::worktables::dropLeftovers(database_, namePrefix(user_));
  } catch (const db::DbError&) {
    // Only a clean-up: the copy does not depend on it.
  }
  const QString table = core::sqlIdentifier(freeName());
  columns_.clear();
  QStringList create{QStringLiteral("CREATE TABLE ") + table + QStringLiteral(" (")};
  QString markers;
  for (const LocalColumn& column : columns) {
    columns_ << core::sqlQuotedIdentifier(column.name);
    create << columns_.last() + u' ' + databaseColumnType(column) +
                  (column.required ? QStringLiteral(" NOT NULL,") : QStringLiteral(","));
    markers += QStringLiteral("?,");
  }
  const QString ordinal = core::sqlIdentifier(kOrdinal);
  create << ordinal + QStringLiteral(" INTEGER NOT NULL)");
  db::worktables::create(database_, transaction_, table, create);
  name_ = table;
  rowCount_ = 0;
  try {
    insert_ = std::make_unique<db::PreparedStatement>(
        transaction_,
        QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + columns_.join(u',') + u',' +
            ordinal + QStringLiteral(") VALUES (") + markers + QStringLiteral("?)"),
        db::PreparedStatement::Markers::Typed);
  } catch (const db::DbError&) {
    dropAndRethrow();
  }
}

void AnswerWorkTable::append(const QVariantList& values) {
  row_ = values;
  row_.append(++rowCount_);
  try {
    insert_->execute(row_);
  } catch (const db::DbError&) {
    dropAndRethrow();
  }
}

void AnswerWorkTable::finish() {
  insert_.reset();
  try {
    transaction_.commitRetaining();
  } catch (const db::DbError&) {
    dropAndRethrow();
  }
}

void AnswerWorkTable::dropAndRethrow() {
  drop();
  throw;
}

QStringList AnswerWorkTable::statement() const {
  QStringList lines{QStringLiteral("SELECT")};
  for (qsizetype i = 0; i < columns_.size(); ++i)
    lines << (i + 1 < columns_.size() ? columns_[i] + u',' : columns_[i]);
  lines << QStringLiteral("FROM ") + name_;
  return lines + orderLines();
}

QStringList AnswerWorkTable::orderLines() const {
  return {QStringLiteral("ORDER BY"), kOrdinal};
}

void AnswerWorkTable::drop() {
  insert_.reset();
  if (name_.isEmpty()) return;
  try {
    db::worktables::drop(database_, transaction_, name_);
  } catch (const db::DbError&) {
    // Still in use: the clean-up of the next copy drops it once its
    // connection has gone.
  }
  name_.clear();
}

}  // namespace query::engine
