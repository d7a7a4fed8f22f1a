#include "db/PreparedStatement.h"

#include <cstring>

#include "core/Cp1252.h"
#include "db/Database.h"
#include "db/FbStatus.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace db {

using detail::call;
using detail::Status;

PreparedStatement::PreparedStatement(Transaction& transaction, const QString& text)
    : transaction_(&transaction) {
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
    described->release();
    // Every marker takes text; the server converts it to the marker's type.
    for (unsigned i = 0; i < count; ++i) {
      builder->setType(status, i, SQL_VARYING + 1);
      builder->setLength(status, i, kMaxValueBytes);
      builder->setScale(status, i, 0);
    }
    inMeta_ = builder->getMetadata(status);
    builder->release();
    buffer_.assign(inMeta_->getMessageLength(status), 0);
    for (unsigned i = 0; i < count; ++i) {
      offsets_.push_back(inMeta_->getOffset(status, i));
      nullOffsets_.push_back(inMeta_->getNullOffset(status, i));
    }
  });
}

PreparedStatement::~PreparedStatement() {
  if (inMeta_) inMeta_->release();
  if (statement_) {
    try {
      call([&](Status* status) { statement_->free(status); });
    } catch (const DbError&) {
      statement_->release();
    }
  }
}

void PreparedStatement::execute(const QVariantList& values) {
  if (values.size() != markerCount())
    throw DbError(QStringLiteral("Numero di valori diverso dal numero di parametri"));
  for (std::size_t i = 0; i < offsets_.size(); ++i) {
    const QVariant& value = values[static_cast<qsizetype>(i)];
    auto* isNull = reinterpret_cast<short*>(buffer_.data() + nullOffsets_[i]);
    if (value.isNull()) {
      *isNull = -1;
      continue;
    }
    const QByteArray bytes = core::toCp1252(value.toString());
    if (bytes.size() > static_cast<qsizetype>(kMaxValueBytes))
      throw DbError(QStringLiteral("Valore troppo lungo per il parametro %1").arg(i + 1));
    *isNull = 0;
    unsigned char* slot = buffer_.data() + offsets_[i];
    const auto length = static_cast<unsigned short>(bytes.size());
    std::memcpy(slot, &length, sizeof length);
    std::memcpy(slot + sizeof length, bytes.constData(), length);
  }
  transaction_->ensureStarted();
  call([&](Status* status) {
    statement_->execute(status, transaction_->handle(), inMeta_, buffer_.data(), nullptr, nullptr);
  });
}

}  // namespace db
