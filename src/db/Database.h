#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace Firebird {
class IAttachment;
class IMaster;
class IUtil;
class IStatus;
}  // namespace Firebird

namespace db {

class Transaction;

enum class ConnectionAttempt { Attach, Create };

// One attachment to a Firebird database. The name is kept exactly as given
// ("path", "server:path", "server:alias", "\\server\share\..."); a local path
// in stored (Windows) form is made native only when the attachment is made.
// Several transactions may run on one attachment at once.
class Database {
 public:
  Database();
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Throws DbError. The connection uses character set WIN1252 and dialect 3.
  void attach(const QString& name, const QString& user, const QString& password);
  // Creates the database and leaves it attached. Throws DbError.
  void create(const QString& name, const QString& user, const QString& password,
              int pageSize = 4096);
  // Rolls back every active transaction, then detaches. Never throws.
  void detach();

  bool isConnected() const { return attachment_ != nullptr; }
  const QString& name() const { return name_; }
  // The credentials of the last attachment made, so that a second
  // connection to the same database can be opened as the same user.
  const QString& user() const { return user_; }
  const QString& password() const { return password_; }

  // The name handed to the client library for a stored database name: local
  // paths made native, "server:path" with its path made native, a UNC name
  // as "server:/share/rest", a server alias and a URL unchanged.
  static QString connectionName(const QString& name);

  // User and password that a caller who names none connects with: the
  // client's ISC_USER / ISC_PASSWORD when set, else SYSDBA and the default
  // password.
  static QString defaultUser();
  static QString defaultPassword();

  Firebird::IAttachment* attachment() const { return attachment_; }

 private:
  friend class Transaction;
  void connect(ConnectionAttempt attempt, const QString& name,
               const std::vector<unsigned char>& block);
  void registerTransaction(Transaction* transaction);
  void unregisterTransaction(Transaction* transaction);

  QString name_;
  QString user_;
  QString password_;
  Firebird::IAttachment* attachment_ = nullptr;
  std::vector<Transaction*> transactions_;
};

// Sees the name of every attach or create attempt, as given, before it is
// made; tests use it to check how a database was addressed. nullptr removes it.
using ConnectionObserver = std::function<void(ConnectionAttempt attempt, const QString& name)>;
void setConnectionObserver(ConnectionObserver observer);

// The client library's master interface and utility interface.
Firebird::IMaster* master();
Firebird::IUtil* util();

}  // namespace db
