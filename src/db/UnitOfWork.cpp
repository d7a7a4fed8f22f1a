#include "db/UnitOfWork.h"

#include "db/DbError.h"
#include "db/Transaction.h"

namespace db {

UnitOfWork::UnitOfWork(Transaction& transaction, AfterRollback afterRollback)
    : transaction_(transaction), afterRollback_(afterRollback) {}

UnitOfWork::~UnitOfWork() {
  if (done_) return;
  // Undoing must not fail the caller a second time: the first failure is
  // the one it reports.
  try {
    if (afterRollback_ == AfterRollback::Restart)
      transaction_.rollbackAndRestart();
    else
      transaction_.rollback();
  } catch (const DbError&) {
  }
}

void UnitOfWork::commit() {
  transaction_.commit();
  done_ = true;
}

void UnitOfWork::commitRetaining() {
  transaction_.commitRetaining();
  done_ = true;
}

}  // namespace db
