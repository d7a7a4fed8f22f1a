#pragma once

#include <QList>
#include <QString>
#include <stdexcept>

namespace db {

// A failure reported by the database or by misuse of this layer. text()
// carries the database's own message; codes() the Firebird error codes of
// the status vector, first to last.
class DbError : public std::runtime_error {
 public:
  explicit DbError(const QString& text, QList<qint64> codes = {}, int sqlCode = 0)
      : std::runtime_error(text.toStdString()),
        text_(text),
        codes_(std::move(codes)),
        sqlCode_(sqlCode) {}
  const QString& text() const { return text_; }
  const QList<qint64>& codes() const { return codes_; }
  int sqlCode() const { return sqlCode_; }
  // True when the failure is a lock conflict with another transaction
  // (update conflict, deadlock, lock time-out).
  bool isLockConflict() const;
  // True when the statement was cancelled (a termination request): no other
  // way of doing the same work is to be tried.
  bool isCancelled() const;

 private:
  QString text_;
  QList<qint64> codes_;
  int sqlCode_;
};

}  // namespace db
