#include "core/TerminationSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <csignal>

namespace core {

namespace {

std::atomic<int> receivedSignal{0};
// The self-pipe: the handler writes a byte that wakes the event loop.
int wakeFds[2] = {-1, -1};

extern "C" void onSignal(int signal) {
  receivedSignal.store(signal);
  if (wakeFds[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFds[1], &byte, 1);
  }
}

}  // namespace

void installTerminationHandlers() {
  static const bool piped = [] {
    if (::pipe(wakeFds) == 0) {
      for (const int fd : wakeFds) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
      for (const int fd : wakeFds) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    return true;
  }();
  (void)piped;
  // Set on every call: the Firebird client puts handlers of its own in place
  // when it first attaches a database, and a later call takes the signals back.
  struct sigaction action = {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

bool terminationRequested() {
  return receivedSignal.load() != 0;
}

int terminationSignal() {
  return receivedSignal.load();
}

void resetTerminationRequest() {
  receivedSignal.store(0);
  char drain[64];
  if (wakeFds[0] >= 0)
    while (::read(wakeFds[0], drain, sizeof drain) > 0) {
    }
}

void onTermination(QObject* context, std::function<void()> handler) {
  installTerminationHandlers();
  if (wakeFds[0] < 0) return;
  auto* notifier = new QSocketNotifier(wakeFds[0], QSocketNotifier::Read, context);
  QObject::connect(notifier, &QSocketNotifier::activated, context,
                   [notifier, handler = std::move(handler)] {
                     // The byte stays in the pipe, so every notifier sees it;
                     // each fires once.
                     notifier->setEnabled(false);
                     handler();
                   });
  // A signal that arrived before the notifier existed is not lost.
  if (terminationRequested()) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFds[1], &byte, 1);
  }
}

}  // namespace core
