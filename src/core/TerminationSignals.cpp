#include "core/TerminationSignals.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <atomic>
#include <csignal>

namespace core {

namespace {

// SIGTERM and SIGINT are blocked and read from a signal descriptor instead
// of being handled: a handler would run on whichever thread the kernel
// picks, and interrupting the Firebird engine's own threads left a database
// detach spinning when the windows then closed. Threads started after the
// block inherit it, which is why the host blocks them first thing.
std::atomic<int> receivedSignal{0};
int signalFd = -1;
// Written once a signal has been read, so that every notifier sees it,
// whoever read the signal (a polling loop or the event loop).
int wakeFds[2] = {-1, -1};

sigset_t terminationSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  return set;
}

// Reads the signals that arrived; true when there was one.
bool consumeSignals() {
  if (signalFd < 0) return false;
  bool any = false;
  signalfd_siginfo info;
  while (::read(signalFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    int expected = 0;
    receivedSignal.compare_exchange_strong(expected, static_cast<int>(info.ssi_signo));
    any = true;
  }
  if (any && wakeFds[1] >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFds[1], &byte, 1);
  }
  return any;
}

}  // namespace

void installTerminationHandlers() {
  static const bool installed = [] {
    const sigset_t set = terminationSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    signalFd = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (::pipe2(wakeFds, O_NONBLOCK | O_CLOEXEC) != 0) wakeFds[0] = wakeFds[1] = -1;
    return true;
  }();
  (void)installed;
  // The calling thread may be another than the first one.
  const sigset_t set = terminationSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

bool terminationRequested() {
  consumeSignals();
  return receivedSignal.load() != 0;
}

int terminationSignal() {
  consumeSignals();
  return receivedSignal.load();
}

void resetTerminationRequest() {
  consumeSignals();
  receivedSignal.store(0);
  char drain[64];
  if (wakeFds[0] >= 0)
    while (::read(wakeFds[0], drain, sizeof drain) > 0) {
    }
}

void onTermination(QObject* context, std::function<void()> handler) {
  installTerminationHandlers();
  if (signalFd < 0 || wakeFds[0] < 0) return;
  // Reads the signal descriptor while the event loop waits.
  auto* reader = new QSocketNotifier(signalFd, QSocketNotifier::Read, context);
  QObject::connect(reader, &QSocketNotifier::activated, context, [] { consumeSignals(); });
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
