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
// bound to the markers. Every value travels as text (Windows-1252) and the
// server converts it to the marker's type, so a value too long for its
// column fails as it would pasted into the statement. A null QVariant binds
// NULL. The statement must not outlive the database it was prepared on.
class PreparedStatement {
 public:
  // Prepares in the given transaction (starting it when needed); the
  // statement observer sees the text once, here. Throws DbError.
  PreparedStatement(Transaction& transaction, const QString& text);
  ~PreparedStatement();
  PreparedStatement(const PreparedStatement&) = delete;
  PreparedStatement& operator=(const PreparedStatement&) = delete;

  int markerCount() const { return static_cast<int>(offsets_.size()); }
  // Runs the statement with one value per marker, in the transaction it was
  // prepared in. Throws DbError.
  void execute(const QVariantList& values);

  // The longest text, in bytes, a marker accepts.
  static constexpr unsigned kMaxValueBytes = 4096;

 private:
  Transaction* transaction_;
  Firebird::IStatement* statement_ = nullptr;
  Firebird::IMessageMetadata* inMeta_ = nullptr;
  std::vector<unsigned char> buffer_;
  std::vector<unsigned> offsets_, nullOffsets_;
};

}  // namespace db
