#include "platform/localstore/LocalQuery.h"

#include <sqlite3.h>

#include <QFile>

#include "platform/localstore/LocalValues.h"

namespace platform::localstore {

LocalQuery::LocalQuery(QString nativeFile, LocalColumns columns)
    : nativeFile_(std::move(nativeFile)), columns_(std::move(columns)) {}

LocalQuery::~LocalQuery() {
  finish();
}

void LocalQuery::finish() {
  sqlite3_finalize(statement_);
  statement_ = nullptr;
  sqlite3_close(db_);
  db_ = nullptr;
  tableColumns_.clear();
}

bool LocalQuery::fail(const QString& what) {
  error_ = what + (db_ ? QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db_)) : QString());
  finish();
  return false;
}

bool LocalQuery::open(const QString& statement) {
  finish();
  error_.clear();
  if (sqlite3_open_v2(QFile::encodeName(nativeFile_).constData(), &db_, SQLITE_OPEN_READONLY,
                      nullptr) != SQLITE_OK)
    return fail(nativeFile_);
  const QByteArray text = statement.toUtf8();
  if (sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &statement_, nullptr) !=
          SQLITE_OK ||
      !statement_)
    return fail(QStringLiteral("Istruzione non accettata dalla tabella locale"));
  const int count = sqlite3_column_count(statement_);
  for (int i = 0; i < count; ++i) {
    // A column read straight from the rows keeps its type; anything else
    // (a count, a sum) is read as SQLite gives it.
    int index = -1;
    const char* origin = sqlite3_column_origin_name(statement_, i);
    const char* table = sqlite3_column_table_name(statement_, i);
    if (origin && table && kRows.compare(QString::fromUtf8(table), Qt::CaseInsensitive) == 0) {
      const QString name = QString::fromUtf8(origin);
      for (qsizetype c = 0; c < columns_.size() && index < 0; ++c)
        if (columns_[c].name.compare(name, Qt::CaseInsensitive) == 0) index = int(c);
    }
    tableColumns_.push_back(index);
  }
  return true;
}

QString LocalQuery::columnName(int resultColumn) const {
  return statement_ ? QString::fromUtf8(sqlite3_column_name(statement_, resultColumn)) : QString();
}

bool LocalQuery::next(std::vector<QVariant>& row) {
  if (!statement_) return false;
  const int step = sqlite3_step(statement_);
  if (step == SQLITE_DONE) {
    finish();
    return false;
  }
  if (step != SQLITE_ROW) return fail(QStringLiteral("Lettura della tabella locale"));
  row.resize(tableColumns_.size());
  for (std::size_t i = 0; i < tableColumns_.size(); ++i) {
    const int column = tableColumns_[i];
    row[i] = column >= 0 ? columnValue(statement_, int(i), columns_[column].type)
                         : computedValue(statement_, int(i));
  }
  return true;
}

}  // namespace platform::localstore
