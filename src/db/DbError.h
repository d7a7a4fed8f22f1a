#pragma once

#include <QString>
#include <stdexcept>

namespace db {

// A failure reported by the database or by misuse of this layer. what() and
// text() carry the database's own message.
class DbError : public std::runtime_error {
 public:
  explicit DbError(const QString& text, int sqlCode = 0)
      : std::runtime_error(text.toStdString()), text_(text), sqlCode_(sqlCode) {}
  const QString& text() const { return text_; }
  int sqlCode() const { return sqlCode_; }
  // True when the failure is a lock conflict with another transaction
  // (update conflict, deadlock, lock time-out).
  bool isLockConflict() const;

 private:
  QString text_;
  int sqlCode_;
};

}  // namespace db
