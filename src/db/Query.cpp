#include "db/Query.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cmath>
#include <cstring>

#include "core/Cp1252.h"
#include "core/Dates.h"
#include "core/SqlText.h"
#include "db/Database.h"
#include "db/FbStatus.h"
#include "db/Transaction.h"

namespace db {

using detail::call;
using detail::Status;

namespace {

constexpr unsigned kCharsetOctets = 1;

QString fromDb(const char* data, std::size_t length) {
  return core::fromCp1252(QByteArray(data, static_cast<qsizetype>(length)));
}

QString trimmedRight(QString text) {
  qsizetype end = text.size();
  while (end > 0 && text.at(end - 1) == ' ') --end;
  text.truncate(end);
  return text;
}

FieldType typeFor(unsigned sqlType, int subType, int scale, unsigned charset) {
  switch (sqlType) {
    case SQL_VARYING:
    case SQL_TEXT:
      return charset == kCharsetOctets ? FieldType::Bytes : FieldType::String;
    case SQL_SHORT:
      return scale < 0 ? FieldType::Bcd : FieldType::SmallInt;
    case SQL_LONG:
      return scale < 0 ? FieldType::Bcd : FieldType::Integer;
    case SQL_INT64:
      return scale < 0 ? FieldType::Bcd : FieldType::LargeInt;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      return FieldType::Float;
    case SQL_TYPE_DATE:
      return FieldType::Date;
    case SQL_TYPE_TIME:
      return FieldType::Time;
    case SQL_TIMESTAMP:
      return FieldType::DateTime;
    case SQL_BLOB:
      return subType == 1 ? FieldType::Memo : FieldType::Blob;
    case SQL_BOOLEAN:
      return FieldType::Boolean;
    default:
      return FieldType::Unknown;
  }
}

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
  if (statement_) {
    try {
      call([&](Status* status) { statement_->free(status); });
    } catch (const DbError&) {
      statement_->release();
    }
    statement_ = nullptr;
  }
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

  fields_.clear();
  offsets_.clear();
  nullOffsets_.clear();
  sqlTypes_.clear();
  subTypes_.clear();
  lengths_.clear();
  scales_.clear();
  call([&](Status* status) {
    outMeta_ = statement_->getOutputMetadata(status);
    const unsigned count = outMeta_->getCount(status);
    buffer_.assign(outMeta_->getMessageLength(status), 0);
    for (unsigned i = 0; i < count; ++i) {
      const unsigned sqlType = outMeta_->getType(status, i) & ~1u;
      const int subType = outMeta_->getSubType(status, i);
      const int scale = outMeta_->getScale(status, i);
      const unsigned length = outMeta_->getLength(status, i);
      const unsigned charset = outMeta_->getCharSet(status, i);
      FieldInfo info;
      info.name = fromDb(outMeta_->getAlias(status, i), std::strlen(outMeta_->getAlias(status, i)));
      info.sourceField = QString::fromLatin1(outMeta_->getField(status, i));
      info.relation = QString::fromLatin1(outMeta_->getRelation(status, i));
      if (!info.relation.isEmpty() && !info.sourceField.isEmpty())
        info.origin = info.relation + '.' + info.sourceField;
      info.type = typeFor(sqlType, subType, scale, charset);
      info.size = static_cast<int>(length);
      info.scale = scale < 0 ? -scale : 0;
      info.nullable = outMeta_->isNullable(status, i);
      fields_.push_back(info);
      offsets_.push_back(outMeta_->getOffset(status, i));
      nullOffsets_.push_back(outMeta_->getNullOffset(status, i));
      sqlTypes_.push_back(sqlType);
      subTypes_.push_back(static_cast<unsigned>(subType));
      lengths_.push_back(length);
      scales_.push_back(scale);
    }
  });
}

void Query::open() {
  close();
  fireBeforeOpen();
  prepare();
  openPrepared();
  notify(Notice::Opened);
  fireAfterOpen();
}

void Query::describe() {
  close();
  prepare();
}

void Query::openPrepared() {
  const unsigned type = call([&](Status* status) { return statement_->getType(status); });
  if (type != isc_info_sql_stmt_select && type != isc_info_sql_stmt_select_for_upd)
    throw DbError(statementError(statementText()));
  cursor_ = call([&](Status* status) {
    return statement_->openCursor(status, transaction_->handle(), nullptr, nullptr, outMeta_, 0);
  });
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

void Query::execSql() {
  close();
  prepare();
  const unsigned type = call([&](Status* status) { return statement_->getType(status); });
  if (type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd) {
    openPrepared();
    return;
  }
  const bool returnsRow = !fields_.empty();
  call([&](Status* status) {
    statement_->execute(status, transaction_->handle(), nullptr, nullptr,
                        returnsRow ? outMeta_ : nullptr, returnsRow ? buffer_.data() : nullptr);
    rowsAffected_ = static_cast<int>(statement_->getAffectedRecords(status));
  });
  if (returnsRow) {
    std::vector<QVariant> row(fields_.size());
    for (std::size_t i = 0; i < fields_.size(); ++i)
      row[i] = decode(static_cast<int>(i), buffer_.data());
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
  if (cursor_) {
    try {
      call([&](Status* status) { cursor_->close(status); });
    } catch (const DbError&) {
      cursor_->release();
    }
    cursor_ = nullptr;
  }
  rows_.clear();
  active_ = false;
  eof_ = true;
  current_ = -1;
  rowsDropped();
}

bool Query::fetchOne() {
  if (!cursor_) return false;
  const int result =
      call([&](Status* status) { return cursor_->fetchNext(status, buffer_.data()); });
  if (result != Firebird::IStatus::RESULT_OK) {
    call([&](Status* status) { cursor_->close(status); });
    cursor_ = nullptr;
    return false;
  }
  std::vector<QVariant> row(fields_.size());
  for (std::size_t i = 0; i < fields_.size(); ++i)
    row[i] = decode(static_cast<int>(i), buffer_.data());
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

QVariant Query::value(int row, int column) const {
  if (row < 0 || row >= fetchedRows() || column < 0 || column >= fieldCount()) return {};
  return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

QVariant Query::decode(int column, const unsigned char* buffer) const {
  const auto c = static_cast<std::size_t>(column);
  if (*reinterpret_cast<const short*>(buffer + nullOffsets_[c])) return {};
  const unsigned char* data = buffer + offsets_[c];
  const int scale = scales_[c];
  const auto scaled = [scale](qint64 raw) -> QVariant {
    if (scale >= 0) return raw;
    return static_cast<double>(raw) / std::pow(10.0, -scale);
  };
  switch (sqlTypes_[c]) {
    case SQL_VARYING: {
      const auto length = *reinterpret_cast<const unsigned short*>(data);
      const char* chars = reinterpret_cast<const char*>(data + sizeof(unsigned short));
      if (fields_[c].type == FieldType::Bytes) return QByteArray(chars, length);
      return fromDb(chars, length);
    }
    case SQL_TEXT: {
      const char* chars = reinterpret_cast<const char*>(data);
      if (fields_[c].type == FieldType::Bytes) return QByteArray(chars, lengths_[c]);
      return trimmedRight(fromDb(chars, lengths_[c]));
    }
    case SQL_SHORT:
      return scaled(*reinterpret_cast<const qint16*>(data));
    case SQL_LONG:
      return scaled(*reinterpret_cast<const qint32*>(data));
    case SQL_INT64:
      return scaled(*reinterpret_cast<const qint64*>(data));
    case SQL_FLOAT:
      return static_cast<double>(*reinterpret_cast<const float*>(data));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      return *reinterpret_cast<const double*>(data);
    case SQL_BOOLEAN:
      return *data != 0;
    case SQL_TYPE_DATE: {
      unsigned y = 0, m = 0, d = 0;
      util()->decodeDate(*reinterpret_cast<const ISC_DATE*>(data), &y, &m, &d);
      return QDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d));
    }
    case SQL_TYPE_TIME: {
      unsigned h = 0, mi = 0, s = 0, frac = 0;
      util()->decodeTime(*reinterpret_cast<const ISC_TIME*>(data), &h, &mi, &s, &frac);
      return QTime(static_cast<int>(h), static_cast<int>(mi), static_cast<int>(s),
                   static_cast<int>(frac / 10));
    }
    case SQL_TIMESTAMP: {
      const auto* stamp = reinterpret_cast<const ISC_TIMESTAMP*>(data);
      unsigned y = 0, m = 0, d = 0, h = 0, mi = 0, s = 0, frac = 0;
      util()->decodeDate(stamp->timestamp_date, &y, &m, &d);
      util()->decodeTime(stamp->timestamp_time, &h, &mi, &s, &frac);
      return QDateTime(QDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)),
                       QTime(static_cast<int>(h), static_cast<int>(mi), static_cast<int>(s),
                             static_cast<int>(frac / 10)));
    }
    case SQL_BLOB:
      return readBlob(data, subTypes_[c] == 1);
    default:
      return {};
  }
}

QVariant Query::readBlob(const unsigned char* blobId, bool text) const {
  ISC_QUAD id;
  std::memcpy(&id, blobId, sizeof id);
  QByteArray bytes;
  call([&](Status* status) {
    Firebird::IBlob* blob =
        database_->attachment()->openBlob(status, transaction_->handle(), &id, 0, nullptr);
    char chunk[16384];
    for (;;) {
      unsigned got = 0;
      const int result = blob->getSegment(status, sizeof chunk, chunk, &got);
      if (result == Firebird::IStatus::RESULT_OK || result == Firebird::IStatus::RESULT_SEGMENT)
        bytes.append(chunk, got);
      else
        break;
    }
    blob->close(status);
  });
  if (text) return core::fromCp1252(bytes);
  return bytes;
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
