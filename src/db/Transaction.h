#pragma once

#include <QStringList>
#include <vector>

#include "db/DbError.h"

namespace Firebird {
class ITransaction;
}

namespace db {

class Database;
class Query;

// A transaction on one database, started with named parameters such as
// "isc_tpb_concurrency" and "isc_tpb_nowait" (none: the server's default,
// a snapshot that waits). Queries attached to it start it when they need it.
// Ending the transaction (commit, rollback) closes the queries running in it;
// the retaining forms keep them open.
class Transaction {
 public:
  explicit Transaction(Database& database, QStringList params = {});
  ~Transaction();  // rolls back when still active
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  Database& database() const;
  // Throws DbError for an unknown parameter name when the transaction starts.
  void setParams(QStringList params) { params_ = std::move(params); }
  const QStringList& params() const { return params_; }

  void start();
  bool isActive() const { return handle_ != nullptr; }
  void commit();
  // Makes the work permanent and keeps the same transaction context.
  void commitRetaining();
  void rollback();
  // Discards the work and starts a new transaction.
  void rollbackAndRestart();
  // Starts the transaction unless it is active.
  void ensureStarted();

  Firebird::ITransaction* handle() const { return handle_; }

 private:
  friend class Database;
  friend class Query;
  void registerQuery(Query* query);
  void unregisterQuery(Query* query);
  // Closes the queries running in the transaction; quietly (without their
  // before-close hooks) when the connection is going away.
  void closeQueries(bool quietly = false);
  void endForDetach();    // the attachment is going away: roll back quietly
  void forgetDatabase();  // the database object itself is going away

  Database* database_;
  QStringList params_;
  Firebird::ITransaction* handle_ = nullptr;
  std::vector<Query*> queries_;
};

}  // namespace db
