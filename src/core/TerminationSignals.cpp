#include "core/TerminationSignals.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <QByteArray>
#include <QSocketNotifier>
#include <array>
#include <atomic>
#include <csignal>
#include <thread>

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
// Written like wakeFds, but read and emptied by the watcher thread, which
// must see every signal, not only the first.
int watcherFds[2] = {-1, -1};
std::array<std::atomic<void (*)()>, 4> watchers{};

// A library loaded into the program (a sibling library) holds its own copy of
// this file, where the handlers were never installed. It finds the program's
// wake pipe through this variable ("PID:FD"), valid only in that process: a
// child process inherits the variable but not the pipe.
const char* const kSharedWakeVariable = "ORBELAN_TERMINATION_PIPE";

int sharedWakeFd() {
  const QByteArray value = qgetenv(kSharedWakeVariable);
  const qsizetype colon = value.indexOf(':');
  if (colon < 0 || value.left(colon).toLongLong() != ::getpid()) return -1;
  bool ok = false;
  const int fd = value.mid(colon + 1).toInt(&ok);
  return ok ? fd : -1;
}

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
  if (any) {
    const char byte = 1;
    for (const int fd : {wakeFds[1], watcherFds[1]})
      if (fd >= 0) [[maybe_unused]]
        const ssize_t written = ::write(fd, &byte, 1);
  }
  return any;
}

// Waits for signals (read here, or by another thread that then writes to the
// watcher pipe) and calls the watchers for each. The thread inherits the
// blocked signals, so it is never interrupted by them.
void watchSignals() {
  for (;;) {
    pollfd fds[2] = {{signalFd, POLLIN, 0}, {watcherFds[0], POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) continue;
    consumeSignals();
    char drain[64];
    while (::read(watcherFds[0], drain, sizeof drain) > 0) {
    }
    if (receivedSignal.load() == 0) continue;
    for (auto& watcher : watchers)
      if (void (*callback)() = watcher.load()) callback();
  }
}

// In a library's copy: true once the program's wake pipe holds its byte.
bool sharedWakeReadable() {
  static const int fd = sharedWakeFd();
  if (fd < 0) return false;
  pollfd wake = {fd, POLLIN, 0};
  return ::poll(&wake, 1, 0) > 0 && (wake.revents & POLLIN) != 0;
}

// In a library's copy: once the program's wake pipe holds its byte (which
// stays there), the watchers are called once.
void watchSharedPipe(int fd) {
  pollfd wake = {fd, POLLIN, 0};
  while (::poll(&wake, 1, -1) <= 0 || (wake.revents & POLLIN) == 0) {
  }
  for (auto& watcher : watchers)
    if (void (*callback)() = watcher.load()) callback();
}

}  // namespace

void installTerminationHandlers() {
  static const bool installed = [] {
    const sigset_t set = terminationSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    signalFd = ::signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (::pipe2(wakeFds, O_NONBLOCK | O_CLOEXEC) != 0) wakeFds[0] = wakeFds[1] = -1;
    if (::pipe2(watcherFds, O_NONBLOCK | O_CLOEXEC) != 0) watcherFds[0] = watcherFds[1] = -1;
    if (wakeFds[0] >= 0)
      qputenv(kSharedWakeVariable,
              QByteArray::number(::getpid()) + ':' + QByteArray::number(wakeFds[0]));
    return true;
  }();
  (void)installed;
  // The calling thread may be another than the first one.
  const sigset_t set = terminationSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

bool terminationRequested() {
  consumeSignals();
  return receivedSignal.load() != 0 || (signalFd < 0 && sharedWakeReadable());
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

void watchTermination(void (*callback)()) {
  const int sharedFd = signalFd < 0 ? sharedWakeFd() : -1;
  if ((signalFd < 0 || watcherFds[0] < 0) && sharedFd < 0) return;
  for (auto& watcher : watchers) {
    void (*expected)() = nullptr;
    if (watcher.load() == callback) break;
    if (watcher.compare_exchange_strong(expected, callback)) break;
  }
  // Started once, on first use; it lives as long as the process.
  static const bool started = [sharedFd] {
    if (sharedFd >= 0)
      std::thread(watchSharedPipe, sharedFd).detach();
    else
      std::thread(watchSignals).detach();
    return true;
  }();
  (void)started;
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
