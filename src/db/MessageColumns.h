#pragma once

#include <QVariant>
#include <vector>

#include "db/FieldType.h"

namespace Firebird {
class IAttachment;
class IMessageMetadata;
class ITransaction;
}  // namespace Firebird

// Where each column of a fetched row sits in the client library's message
// buffer, and how a column's bytes become a value. Private to db/: the
// queries and the text cursor read their rows through it.
namespace db::detail {

struct MessageColumn {
  unsigned offset = 0;
  unsigned nullOffset = 0;
  unsigned sqlType = 0;  // without the nullable bit
  int subType = 0;
  unsigned length = 0;
  int scale = 0;  // as the database gives it: negative for decimals
  FieldType type = FieldType::Unknown;
};

// The columns of an output message and what is known of each field.
// Throws DbError.
void readOutputLayout(Firebird::IMessageMetadata* meta, std::vector<MessageColumn>& columns,
                      std::vector<FieldInfo>& fields);

inline bool isNull(const MessageColumn& column, const unsigned char* buffer) {
  return *reinterpret_cast<const short*>(buffer + column.nullOffset) != 0;
}

// The column's value in the buffer: null, or the type DataSet describes.
// Blobs are read in the transaction. Throws DbError.
QVariant decodeColumn(const MessageColumn& column, const unsigned char* buffer,
                      Firebird::IAttachment* attachment, Firebird::ITransaction* transaction);

}  // namespace db::detail
