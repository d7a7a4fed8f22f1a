#include "db/Query.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cmath>
#include <cstring>

#include "core/Cp1252.h"
#include "core/Dates.h"
#include "core/SqlText.h"
#include "db/Cancellation.h"
#include "db/Database.h"
#include "db/FbStatus.h"
#include "db/MessageColumns.h"
#include "db/Transaction.h"

namespace db {

using detail::call;
using detail::Status;

namespace {

StatementObserver& observer() {
  static StatementObserver instance;
  return instance;
}

QString statementError(const QString& text) {
  return QStringLiteral("Statement non eseguibile: ") + text;
}

}  // namespace

Query::Query(Database& database, Transaction& transaction)
    : database_(&database), transaction_(&transaction) {
  transaction_->registerQuery(this);
}

Query::~Query() {
  closeQuietly();
  releaseStatement();
  if (transaction_) transaction_->unregisterQuery(this);
}

void Query::detachFromTransaction() {
  closeQuietly();
  releaseStatement();
  transaction_ = nullptr;
}

void Query::releaseStatement() {
  if (outMeta_) {
    outMeta_->release();
    outMeta_ = nullptr;
  }
  detail::freeQuietly(statement_);
  preparedText_.clear();
}

void setStatementObserver(StatementObserver replacement) {
  observer() = std::move(replacement);
}

void notifyStatementObserver(const QStringList& lines) {
  if (observer()) observer()(lines);
}

void Query::prepare() {
  if (observer()) observer()(sql);
  if (!transaction_) throw DbError(QStringLiteral("Query senza transazione"));
  if (!database_->isConnected()) throw DbError(QStringLiteral("Database non connesso"));
  transaction_->ensureStarted();
  const QString text = statementText();
  if (statement_ && preparedText_ == text) return;
  releaseStatement();
  const QByteArray bytes = core::toCp1252(text);
  statement_ = call([&](Status* status) {
    return database_->attachment()->prepare(status, transaction_->handle(), 0, bytes.constData(),
                                            SQL_DIALECT_V6,
                                            Firebird::IStatement::PREPARE_PREFETCH_METADATA);
  });
  preparedText_ = text;

  outMeta_ = call([&](Status* status) { return statement_->getOutputMetadata(status); });
  buffer_.assign(call([&](Status* status) { return outMeta_->getMessageLength(status); }), 0);
  detail::readOutputLayout(outMeta_, columns_, fields_);
}

void Query::open() {
  close();
  fireBeforeOpen();
  if (rowSource_) {
    openFromSource();
  } else {
    prepare();
    openPrepared();
  }
  notify(Notice::Opened);
  fireAfterOpen();
}

void Query::describe() {
  close();
  if (rowSource_) {
    openFromSource();
    closeQuietly();
    return;
  }
  prepare();
}

void Query::openFromSource() {
  if (observer()) observer()(sql);
  releaseStatement();
  fields_.clear();
  sourceCursor_ = rowSource_->open(sql, fields_);
  fetchFirst();
}

void Query::fetchFirst() {
  rowsAffected_ = 0;
  // Some failures (a value the column's type rejects) only show when the
  // first row is fetched: the query has not opened then.
  try {
    eof_ = !fetchOne();
  } catch (...) {
    closeQuietly();
    throw;
  }
  active_ = true;
  current_ = eof_ ? -1 : 0;
}

void Query::openPrepared() {
  const unsigned type = call([&](Status* status) { return statement_->getType(status); });
  if (type != isc_info_sql_stmt_select && type != isc_info_sql_stmt_select_for_upd)
    throw DbError(statementError(statementText()));
  const RunningStatement running(database_->attachment());
  cursor_ = call([&](Status* status) {
    return statement_->openCursor(status, transaction_->handle(), nullptr, nullptr, outMeta_, 0);
  });
  fetchFirst();
}

void Query::execSql() {
  close();
  if (rowSource_) throw DbError(statementError(statementText()));
  prepare();
  const unsigned type = call([&](Status* status) { return statement_->getType(status); });
  if (type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd) {
    openPrepared();
    return;
  }
  const bool returnsRow = !fields_.empty();
  const RunningStatement running(database_->attachment());
  call([&](Status* status) {
    statement_->execute(status, transaction_->handle(), nullptr, nullptr,
                        returnsRow ? outMeta_ : nullptr, returnsRow ? buffer_.data() : nullptr);
    rowsAffected_ = static_cast<int>(statement_->getAffectedRecords(status));
  });
  if (returnsRow) {
    std::vector<QVariant> row(fields_.size());
    for (std::size_t i = 0; i < fields_.size(); ++i) row[i] = decode(i);
    rows_.push_back(std::move(row));
    active_ = true;
    eof_ = false;
    current_ = 0;
  }
}

void Query::close() {
  if (active_) {
    fireBeforeClose();
    notify(Notice::Closing);
  }
  closeQuietly();
}

void Query::freeStatement() {
  close();
  releaseStatement();
}

void Query::closeQuietly() {
  detail::closeQuietly(cursor_);
  sourceCursor_.reset();
  rows_.clear();
  active_ = false;
  eof_ = true;
  current_ = -1;
  rowsDropped();
}

bool Query::fetchOne() {
  if (sourceCursor_) {
    std::vector<QVariant> row(fields_.size());
    if (!sourceCursor_->fetch(row)) {
      sourceCursor_.reset();
      return false;
    }
    if (forwardOnly_) rows_.clear();
    rows_.push_back(std::move(row));
    return true;
  }
  if (!cursor_) return false;
  const RunningStatement running(database_->attachment());
  const int result =
      call([&](Status* status) { return cursor_->fetchNext(status, buffer_.data()); });
  if (result != Firebird::IStatus::RESULT_OK) {
    call([&](Status* status) { cursor_->close(status); });
    cursor_ = nullptr;
    return false;
  }
  std::vector<QVariant> row(fields_.size());
  for (std::size_t i = 0; i < fields_.size(); ++i) row[i] = decode(i);
  if (forwardOnly_) rows_.clear();
  rows_.push_back(std::move(row));
  return true;
}

int Query::fetchMore(int count) {
  int fetched = 0;
  while (fetched < count && fetchOne()) ++fetched;
  return fetched;
}

void Query::next() {
  if (eof_) return;
  const int nextRow = forwardOnly_ ? 0 : current_ + 1;
  if (!forwardOnly_ && nextRow < fetchedRows()) {
    current_ = nextRow;
    return;
  }
  if (fetchOne()) {
    current_ = forwardOnly_ ? 0 : fetchedRows() - 1;
  } else {
    eof_ = true;
  }
}

void Query::first() {
  if (forwardOnly_)
    throw DbError(QStringLiteral("Query unidirezionale: impossibile tornare al primo record"));
  current_ = rows_.empty() ? -1 : 0;
  eof_ = rows_.empty();
}

int Query::recordCount() {
  if (forwardOnly_)
    throw DbError(QStringLiteral("Query unidirezionale: conteggio non disponibile"));
  while (fetchOne()) {
  }
  return rowCount();
}

std::vector<QVariant> Query::takeCurrentRow() {
  if (!forwardOnly_)
    throw DbError(QStringLiteral("Query non unidirezionale: le righe restano alla query"));
  if (current_ < 0 || current_ >= fetchedRows()) return {};
  return std::move(rows_[static_cast<std::size_t>(current_)]);
}

QVariant Query::value(const QString& column) const {
  const int index = fieldIndex(column);
  if (index < 0) throw DbError(QStringLiteral("Campo non trovato: ") + column);
  if (current_ < 0 || current_ >= fetchedRows()) return {};
  return rows_[static_cast<std::size_t>(current_)][static_cast<std::size_t>(index)];
}

QString Query::text(const QString& column) const {
  return displayText(value(column));
}

QString displayText(const QVariant& v) {
  if (v.isNull()) return {};
  switch (v.typeId()) {
    case QMetaType::QDate:
      return core::shortDate(v.toDate());
    case QMetaType::QDateTime: {
      const QDateTime stamp = v.toDateTime();
      if (stamp.time() == QTime(0, 0)) return core::shortDate(stamp.date());
      return core::shortDate(stamp.date()) + ' ' +
             stamp.time().toString(QStringLiteral("HH:mm:ss"));
    }
    case QMetaType::Double:
      return QString::number(v.toDouble(), 'g', 15);
    default:
      return v.toString();
  }
}

QString cellText(const QVariant& value, const FieldInfo& field) {
  if (value.isNull()) return {};
  switch (value.typeId()) {
    case QMetaType::QTime:
      return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::Double:
      if (field.scale > 0) return QString::number(value.toDouble(), 'f', field.scale);
      return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QByteArray:
      return QStringLiteral("(BLOB)");
    default:
      return displayText(value);
  }
}

QVariant Query::value(int row, int column) const {
  if (row < 0 || row >= fetchedRows() || column < 0 || column >= fieldCount()) return {};
  return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

QVariant Query::decode(std::size_t column) const {
  return detail::decodeColumn(columns_[column], buffer_.data(), database_->attachment(),
                              transaction_->handle());
}

qint64 generatorValue(Transaction& transaction, const QString& generator, qint64 increment) {
  Query query(transaction.database(), transaction);
  query.sql << QStringLiteral("SELECT GEN_ID(%1,%2) FROM RDB$DATABASE")
                   .arg(core::sqlIdentifier(generator))
                   .arg(increment);
  query.open();
  return query.value(0, 0).toLongLong();
}

bool tableExists(Transaction& transaction, const QString& table) {
  Query query(transaction.database(), transaction);
  query.sql << QStringLiteral("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS")
            << QStringLiteral("WHERE RDB$RELATION_NAME=") + core::sqlString(table.toUpper());
  query.open();
  return !query.isEmpty();
}

}  // namespace db
