#pragma once

namespace db {

class Transaction;

// A piece of work that is either made permanent as a whole or undone: the
// statements run on `transaction` inside the scope; commit() makes them
// permanent, and leaving the scope any other way (an early return, an
// exception) rolls them back quietly, restarting the transaction when asked
// so that the window owning it can go on.
class UnitOfWork {
 public:
  enum class AfterRollback { Stop, Restart };

  explicit UnitOfWork(Transaction& transaction, AfterRollback afterRollback = AfterRollback::Stop);
  ~UnitOfWork();
  UnitOfWork(const UnitOfWork&) = delete;
  UnitOfWork& operator=(const UnitOfWork&) = delete;

  // Commits (throws DbError when it cannot); the transaction ends.
  void commit();
  // Commits and keeps the transaction's context open.
  void commitRetaining();

 private:
  Transaction& transaction_;
  AfterRollback afterRollback_;
  bool done_ = false;
};

}  // namespace db
