#pragma once

namespace Firebird {
class IAttachment;
}

// Every connected attachment is registered here, so that a termination
// request (SIGTERM, SIGINT) cancels the statement running on it: the
// statement fails at once with "operation was cancelled" and the work that
// waited on it ends as a failure would, undoing what it had not finished.
//
// Only a statement that is running (executing or fetching) is cancelled: the
// database would keep a cancellation sent to an attachment that merely holds
// an open cursor, and fail the next statement there, which may be the one
// that cleans up (drops a work table) as the program ends.
namespace db {

// Called by Database when it attaches and before it detaches. Unregistering
// waits for a cancellation in progress, so the attachment is never used
// after it is gone.
void registerForCancellation(Firebird::IAttachment* attachment);
void unregisterFromCancellation(Firebird::IAttachment* attachment);

// Cancels the statement running on every registered attachment. Safe from
// any thread.
void cancelRunningStatements();

// Marks a statement running on the attachment while it lives: around an
// execute, an open or a fetch. When a cancellation arrived meanwhile and the
// call ended anyway, the attachment is cleared of it, so that no later
// statement is hit by it.
class RunningStatement {
 public:
  explicit RunningStatement(Firebird::IAttachment* attachment);
  ~RunningStatement();
  RunningStatement(const RunningStatement&) = delete;
  RunningStatement& operator=(const RunningStatement&) = delete;

 private:
  Firebird::IAttachment* attachment_;
};

}  // namespace db
