#include "db/Cancellation.h"

#include <firebird/Interface.h>

#include <algorithm>
#include <mutex>
#include <new>
#include <vector>

#include "core/TerminationSignals.h"

namespace db {

namespace {

struct CancellableAttachment {
  Firebird::IAttachment* attachment;
  int running = 0;         // statements running on it now
  bool cancelled = false;  // a cancellation was sent while they ran
};

struct CancellationRegistry {
  std::mutex mutex;
  std::vector<CancellableAttachment> attachments;

  CancellableAttachment* find(Firebird::IAttachment* attachment) {
    const auto found =
        std::find_if(attachments.begin(), attachments.end(),
                     [attachment](const auto& entry) { return entry.attachment == attachment; });
    return found == attachments.end() ? nullptr : &*found;
  }
};

// Never destroyed: the watcher thread may still use it while the process
// ends. It lies in static storage rather than on the heap, and gives its
// list's memory back when the list empties, so that a library holding it can
// be unloaded without leaving memory nobody can reach.
CancellationRegistry& cancellationRegistry() {
  alignas(CancellationRegistry) static unsigned char storage[sizeof(CancellationRegistry)];
  static auto* const instance = new (storage) CancellationRegistry;
  return *instance;
}

// The client's answer ("nothing to cancel", a connection already lost) does
// not matter: there is nothing more to do for the attachment either way.
void sendCancellation(Firebird::IAttachment* attachment, int option) {
  Firebird::IStatus* raw = Firebird::fb_get_master_interface()->getStatus();
  Firebird::CheckStatusWrapper status(raw);
  attachment->cancelOperation(&status, option);
  raw->dispose();
}

}  // namespace

void registerForCancellation(Firebird::IAttachment* attachment) {
  // The termination watcher calls back on a thread of its own; in a process
  // that does not read the signals nothing is watched.
  static const bool watched = [] {
    core::watchTermination(&cancelRunningStatements);
    return true;
  }();
  (void)watched;
  CancellationRegistry& registry = cancellationRegistry();
  const std::lock_guard lock(registry.mutex);
  registry.attachments.push_back({attachment});
}

void unregisterFromCancellation(Firebird::IAttachment* attachment) {
  CancellationRegistry& registry = cancellationRegistry();
  const std::lock_guard lock(registry.mutex);
  std::erase_if(registry.attachments,
                [attachment](const auto& entry) { return entry.attachment == attachment; });
  if (registry.attachments.empty()) std::vector<CancellableAttachment>().swap(registry.attachments);
}

void cancelRunningStatements() {
  CancellationRegistry& registry = cancellationRegistry();
  const std::lock_guard lock(registry.mutex);
  for (CancellableAttachment& entry : registry.attachments) {
    if (entry.running == 0) continue;
    sendCancellation(entry.attachment, fb_cancel_raise);
    entry.cancelled = true;
  }
}

RunningStatement::RunningStatement(Firebird::IAttachment* attachment) : attachment_(attachment) {
  CancellationRegistry& registry = cancellationRegistry();
  const std::lock_guard lock(registry.mutex);
  if (CancellableAttachment* entry = registry.find(attachment_)) ++entry->running;
}

RunningStatement::~RunningStatement() {
  CancellationRegistry& registry = cancellationRegistry();
  const std::lock_guard lock(registry.mutex);
  CancellableAttachment* entry = registry.find(attachment_);
  if (!entry || --entry->running > 0 || !entry->cancelled) return;
  entry->cancelled = false;
  // Disabling drops a cancellation the statement ended without seeing.
  sendCancellation(attachment_, fb_cancel_disable);
  sendCancellation(attachment_, fb_cancel_enable);
}

}  // namespace db
