#include "db/Table.h"

#include "core/SqlText.h"

namespace db {

Table::Table(Database& database, Transaction& transaction, const QString& tableName)
    : Query(database, transaction) {
  if (!tableName.isEmpty()) setTableName(tableName);
}

void Table::setTableName(const QString& tableName) {
  close();
  tableName_ = core::sqlIdentifier(tableName);
  rebuildStatement();
}

void Table::setIndexFieldNames(const QString& names) {
  if (names == indexFieldNames_) return;
  for (const QString& name : names.split(';', Qt::SkipEmptyParts))
    core::sqlIdentifier(name.trimmed());
  indexFieldNames_ = names;
  const bool reopen = isActive();
  rebuildStatement();
  if (reopen) open();
}

void Table::rebuildStatement() {
  sql = QStringList{QStringLiteral("SELECT * FROM ") + tableName_};
  QStringList fields;
  for (const QString& name : indexFieldNames_.split(';', Qt::SkipEmptyParts))
    fields << core::sqlIdentifier(name.trimmed());
  if (!fields.isEmpty()) sql << QStringLiteral("ORDER BY ") + fields.join(',');
}

QStringList Table::indexDefinitions() {
  Query query(database(), transaction());
  query.sql << QStringLiteral("SELECT I.RDB$INDEX_NAME, S.RDB$FIELD_NAME")
            << QStringLiteral("FROM RDB$INDICES I JOIN RDB$INDEX_SEGMENTS S")
            << QStringLiteral("ON (S.RDB$INDEX_NAME=I.RDB$INDEX_NAME)")
            << QStringLiteral("WHERE (I.RDB$RELATION_NAME='") +
                   core::sqlValue(tableName_.toUpper()) + QStringLiteral("')")
            << QStringLiteral("ORDER BY I.RDB$INDEX_ID, S.RDB$FIELD_POSITION");
  query.open();
  QStringList definitions;
  QString index;
  while (!query.isEof()) {
    const QString name = query.text(QStringLiteral("RDB$INDEX_NAME")).trimmed();
    const QString field = query.text(QStringLiteral("RDB$FIELD_NAME")).trimmed();
    if (name != index || definitions.isEmpty()) {
      definitions << field;
      index = name;
    } else {
      definitions.last() += ';' + field;
    }
    query.next();
  }
  return definitions;
}

void Table::setRecordFilter(RecordFilter filter) {
  filter_ = std::move(filter);
  if (filtered_) refilter();
}

void Table::setFiltered(bool filtered) {
  if (filtered == filtered_) return;
  filtered_ = filtered;
  refilter();
}

void Table::refilter() {
  visible_.clear();
  scanned_ = 0;
  if (isActive()) notify(Notice::RowsChanged);
}

void Table::rowsDropped() {
  visible_.clear();
  scanned_ = 0;
}

void Table::catchUp() const {
  const int fetched = Query::rowCount();
  for (; scanned_ < fetched; ++scanned_)
    if (!filter_ || filter_(*this, scanned_)) visible_.push_back(scanned_);
}

int Table::rowCount() const {
  if (!filtered_) return Query::rowCount();
  catchUp();
  return static_cast<int>(visible_.size());
}

int Table::fetchMore(int count) {
  if (!filtered_) return Query::fetchMore(count);
  const int before = rowCount();
  // Rows the filter refuses do not count: fetch until enough are accepted.
  while (rowCount() - before < count && Query::fetchMore(1) > 0) {
  }
  return rowCount() - before;
}

QVariant Table::value(int row, int column) const {
  if (!filtered_) return Query::value(row, column);
  if (row < 0 || row >= rowCount()) return {};
  return Query::value(visible_[static_cast<std::size_t>(row)], column);
}

}  // namespace db
