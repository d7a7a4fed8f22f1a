#pragma once

#include <QByteArray>
#include <QStringList>
#include <QVariant>
#include <vector>

#include "db/FieldType.h"
#include "db/MessageColumns.h"

namespace Firebird {
class IStatus;
class IStatement;
class IResultSet;
class IMessageMetadata;
}  // namespace Firebird

namespace db {

class Transaction;

// How a value becomes text.
enum class TextForm {
  Plain,  // as displayText(): decimals in their shortest form
  Cell    // as cellText(): decimals with the field's scale, binary blobs "(BLOB)"
};

// A forward-only walk over a selecting statement for writing its rows out as
// text. The values are formatted straight from the client library's message
// buffer into Windows-1252 bytes (the connection's character set, so text
// columns are copied as they arrive): no value objects and no conversions
// through QString for text, integers, decimals, floats, dates and
// timestamps. Other types (times, booleans, blobs) take the general road
// and give the same text.
class TextCursor {
 public:
  // Prepares and opens the statement (its lines joined by line feeds) in the
  // transaction, starting it when needed. Throws DbError.
  TextCursor(Transaction& transaction, const QStringList& lines);
  ~TextCursor();
  TextCursor(const TextCursor&) = delete;
  TextCursor& operator=(const TextCursor&) = delete;

  int fieldCount() const { return static_cast<int>(fields_.size()); }
  const FieldInfo& field(int column) const { return fields_.at(static_cast<std::size_t>(column)); }

  // Fetches the next row; false at the end. Throws DbError.
  bool next();

  // Of the current row.
  bool isNull(int column) const;
  // Appends the column's text: nothing for null.
  void appendText(int column, TextForm form, QByteArray& out) const;
  // The value as a query would give it (see DataSet::value).
  QVariant value(int column) const;

 private:
  void close();

  Transaction& transaction_;
  // Kept for the fetches, which run once per row.
  Firebird::IStatus* fetchStatus_ = nullptr;
  Firebird::IStatement* statement_ = nullptr;
  Firebird::IResultSet* cursor_ = nullptr;
  Firebird::IMessageMetadata* meta_ = nullptr;
  std::vector<unsigned char> buffer_;
  std::vector<detail::MessageColumn> columns_;
  std::vector<FieldInfo> fields_;
};

}  // namespace db
