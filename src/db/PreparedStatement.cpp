#include "db/PreparedStatement.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/Cp1252.h"
#include "db/Cancellation.h"
#include "db/Database.h"
#include "db/FbStatus.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace db {

using detail::call;
using detail::Status;

namespace {

// An integer column's value: exact numerics are scaled to their integer form.
qint64 scaledInteger(const QVariant& value, int scale) {
  bool ok = false;
  if (scale < 0 || value.typeId() == QMetaType::Double || value.typeId() == QMetaType::QString) {
    const double number = value.toDouble(&ok) * std::pow(10.0, -scale);
    if (!ok || !std::isfinite(number) || std::fabs(number) > 9.2e18)
      throw DbError(QStringLiteral("Valore numerico non valido: ") + value.toString());
    return std::llround(number);
  }
  const qint64 number = value.toLongLong(&ok);
  if (!ok) throw DbError(QStringLiteral("Valore numerico non valido: ") + value.toString());
  return number;
}

template <typename T>
T narrowed(qint64 number) {
  if (number < std::numeric_limits<T>::min() || number > std::numeric_limits<T>::max())
    throw DbError(QStringLiteral("Valore fuori dall'intervallo della colonna: %1").arg(number));
  return static_cast<T>(number);
}

ISC_TIME encodedTime(const QTime& time) {
  return util()->encodeTime(
      static_cast<unsigned>(time.hour()), static_cast<unsigned>(time.minute()),
      static_cast<unsigned>(time.second()), static_cast<unsigned>(time.msec()) * 10);
}

ISC_DATE encodedDate(const QDate& date) {
  if (!date.isValid()) throw DbError(QStringLiteral("Data non valida"));
  return util()->encodeDate(static_cast<unsigned>(date.year()), static_cast<unsigned>(date.month()),
                            static_cast<unsigned>(date.day()));
}

QByteArray blobBytes(const QVariant& value) {
  if (value.typeId() == QMetaType::QByteArray) return value.toByteArray();
  return core::toCp1252(value.toString());
}

}  // namespace

PreparedStatement::PreparedStatement(Transaction& transaction, const QString& text, Markers markers)
    : markers_(markers), transaction_(&transaction) {
  notifyStatementObserver({text});
  Database& database = transaction.database();
  if (!database.isConnected()) throw DbError(QStringLiteral("Database non connesso"));
  transaction.ensureStarted();
  const QByteArray bytes = core::toCp1252(text);
  call([&](Status* status) {
    statement_ = database.attachment()->prepare(status, transaction.handle(), 0, bytes.constData(),
                                                SQL_DIALECT_V6,
                                                Firebird::IStatement::PREPARE_PREFETCH_METADATA);
    Firebird::IMessageMetadata* described = statement_->getInputMetadata(status);
    const unsigned count = described->getCount(status);
    Firebird::IMetadataBuilder* builder = described->getBuilder(status);
    if (markers_ == Markers::Text) {
      // Every marker takes text; the server converts it to the marker's type.
      for (unsigned i = 0; i < count; ++i) {
        builder->setType(status, i, SQL_VARYING + 1);
        builder->setLength(status, i, kMaxValueBytes);
        builder->setScale(status, i, 0);
      }
    } else {
      // The statement's own types, every marker able to take NULL.
      for (unsigned i = 0; i < count; ++i)
        builder->setType(status, i, (described->getType(status, i) & ~1u) + 1);
    }
    described->release();
    inMeta_ = builder->getMetadata(status);
    builder->release();
    buffer_.assign(inMeta_->getMessageLength(status), 0);
    for (unsigned i = 0; i < count; ++i) {
      offsets_.push_back(inMeta_->getOffset(status, i));
      nullOffsets_.push_back(inMeta_->getNullOffset(status, i));
      types_.push_back(inMeta_->getType(status, i) & ~1u);
      subTypes_.push_back(inMeta_->getSubType(status, i));
      scales_.push_back(inMeta_->getScale(status, i));
      lengths_.push_back(inMeta_->getLength(status, i));
    }
  });
}

PreparedStatement::~PreparedStatement() {
  if (inMeta_) inMeta_->release();
  detail::freeQuietly(statement_);
}

void PreparedStatement::execute(const QVariantList& values) {
  if (values.size() != markerCount())
    throw DbError(QStringLiteral("Numero di valori diverso dal numero di parametri"));
  transaction_->ensureStarted();
  for (std::size_t i = 0; i < offsets_.size(); ++i) {
    const QVariant& value = values[static_cast<qsizetype>(i)];
    auto* isNull = reinterpret_cast<short*>(buffer_.data() + nullOffsets_[i]);
    *isNull = value.isNull() ? -1 : 0;
    if (value.isNull()) continue;
    if (markers_ == Markers::Text)
      bindText(i, value);
    else
      bindTyped(i, value);
  }
  const RunningStatement running(transaction_->database().attachment());
  call([&](Status* status) {
    statement_->execute(status, transaction_->handle(), inMeta_, buffer_.data(), nullptr, nullptr);
  });
}

void PreparedStatement::bindText(std::size_t marker, const QVariant& value) {
  const QByteArray bytes = core::toCp1252(value.toString());
  if (bytes.size() > static_cast<qsizetype>(kMaxValueBytes))
    throw DbError(QStringLiteral("Valore troppo lungo per il parametro %1").arg(marker + 1));
  unsigned char* slot = buffer_.data() + offsets_[marker];
  const auto length = static_cast<unsigned short>(bytes.size());
  std::memcpy(slot, &length, sizeof length);
  std::memcpy(slot + sizeof length, bytes.constData(), length);
}

void PreparedStatement::bindTyped(std::size_t marker, const QVariant& value) {
  unsigned char* slot = buffer_.data() + offsets_[marker];
  const auto store = [slot](const auto& data) { std::memcpy(slot, &data, sizeof data); };
  switch (types_[marker]) {
    case SQL_VARYING:
    case SQL_TEXT: {
      const QByteArray bytes = core::toCp1252(value.toString());
      if (bytes.size() > static_cast<qsizetype>(lengths_[marker]))
        throw DbError(QStringLiteral("Valore troppo lungo per il parametro %1").arg(marker + 1));
      if (types_[marker] == SQL_TEXT) {
        std::memset(slot, ' ', lengths_[marker]);
        std::memcpy(slot, bytes.constData(), static_cast<std::size_t>(bytes.size()));
        return;
      }
      store(static_cast<unsigned short>(bytes.size()));
      std::memcpy(slot + sizeof(unsigned short), bytes.constData(),
                  static_cast<std::size_t>(bytes.size()));
      return;
    }
    case SQL_SHORT:
      return store(narrowed<qint16>(scaledInteger(value, scales_[marker])));
    case SQL_LONG:
      return store(narrowed<qint32>(scaledInteger(value, scales_[marker])));
    case SQL_INT64:
      return store(scaledInteger(value, scales_[marker]));
    case SQL_FLOAT:
      return store(static_cast<float>(value.toDouble()));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      return store(value.toDouble());
    case SQL_BOOLEAN:
      return store(static_cast<unsigned char>(value.toBool() ? 1 : 0));
    case SQL_TYPE_DATE:
      return store(encodedDate(value.toDate()));
    case SQL_TYPE_TIME:
      return store(encodedTime(value.toTime()));
    case SQL_TIMESTAMP: {
      const QDateTime stamp = value.toDateTime();
      ISC_TIMESTAMP encoded;
      encoded.timestamp_date = encodedDate(stamp.date());
      encoded.timestamp_time = encodedTime(stamp.time());
      return store(encoded);
    }
    case SQL_BLOB: {
      const QByteArray bytes = blobBytes(value);
      ISC_QUAD id{};
      call([&](Status* status) {
        Firebird::IBlob* blob = transaction_->database().attachment()->createBlob(
            status, transaction_->handle(), &id, 0, nullptr);
        // Segments hold at most 65535 bytes.
        for (qsizetype at = 0; at < bytes.size(); at += 65535)
          blob->putSegment(status,
                           static_cast<unsigned>(std::min<qsizetype>(65535, bytes.size() - at)),
                           bytes.constData() + at);
        blob->close(status);
      });
      return store(id);
    }
    default:
      throw DbError(QStringLiteral("Tipo del parametro %1 non gestito").arg(marker + 1));
  }
}

}  // namespace db
