#pragma once

#include <QString>
#include <QVariantList>
#include <vector>

#include "db/DbError.h"

namespace Firebird {
class IStatement;
class IMessageMetadata;
}  // namespace Firebird

namespace db {

class Transaction;

// A statement with "?" markers, prepared once and run many times with values
// bound to the markers. By default every value travels as text
// (Windows-1252) and the server converts it to the marker's type, so a value
// too long for its column fails as it would pasted into the statement.
// Typed markers keep the types the statement gives them instead: numbers,
// dates and times are encoded as such and blobs of any length written
// whole, as a copy of typed rows into a table needs. A null QVariant binds
// NULL. The statement must not outlive the database it was prepared on.
class PreparedStatement {
 public:
  enum class Markers { Text, Typed };

  // Prepares in the given transaction (starting it when needed); the
  // statement observer sees the text once, here. Throws DbError.
  PreparedStatement(Transaction& transaction, const QString& text, Markers markers = Markers::Text);
  ~PreparedStatement();
  PreparedStatement(const PreparedStatement&) = delete;
  PreparedStatement& operator=(const PreparedStatement&) = delete;

  int markerCount() const { return static_cast<int>(offsets_.size()); }
  // Runs the statement with one value per marker, in the transaction it was
  // prepared in. Throws DbError.
  void execute(const QVariantList& values);

  // The longest text, in bytes, a text marker accepts.
  static constexpr unsigned kMaxValueBytes = 4096;

 private:
  void bindText(std::size_t marker, const QVariant& value);
  void bindTyped(std::size_t marker, const QVariant& value);

  Markers markers_;
  Transaction* transaction_;
  Firebird::IStatement* statement_ = nullptr;
  Firebird::IMessageMetadata* inMeta_ = nullptr;
  std::vector<unsigned char> buffer_;
  std::vector<unsigned> offsets_, nullOffsets_;
  // Typed markers: each marker's type, subtype, scale and length.
  std::vector<unsigned> types_, lengths_;
  std::vector<int> subTypes_, scales_;
};

}  // namespace db
