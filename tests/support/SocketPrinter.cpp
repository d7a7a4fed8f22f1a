#include "support/SocketPrinter.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

SocketPrinter::SocketPrinter() {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return;
  wakeRead_ = pipeEnds[0];
  wakeWrite_ = pipeEnds[1];

  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (listener_ < 0) return;
  const int yes = 1;
  ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 16) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(listener_);
    listener_ = -1;
    return;
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { serve(); });
}

SocketPrinter::~SocketPrinter() {
  if (thread_.joinable()) {
    const char stop = 0;
    [[maybe_unused]] const ssize_t written = ::write(wakeWrite_, &stop, 1);
    thread_.join();
  }
  for (const int fd : {listener_, wakeRead_, wakeWrite_})
    if (fd >= 0) ::close(fd);
}

QString SocketPrinter::deviceUri() const {
  return QStringLiteral("socket://127.0.0.1:%1").arg(port_);
}

void SocketPrinter::serve() {
  for (;;) {
    pollfd fds[2] = {{listener_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents) return;
    if (!(fds[0].revents & POLLIN)) continue;
    const int connection = ::accept(listener_, nullptr, nullptr);
    if (connection < 0) continue;
    QByteArray job = receive(connection);
    ::close(connection);
    if (job.isNull()) return;  // stopped while receiving
    {
      std::lock_guard lock(mutex_);
      jobs_.append(job);
    }
    arrived_.notify_all();
  }
}

// Everything up to the sender's end of data; a null array when stopped.
QByteArray SocketPrinter::receive(int connection) {
  QByteArray job("");
  char buffer[65536];
  for (;;) {
    pollfd fds[2] = {{connection, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents) return QByteArray();
    const ssize_t got = ::read(connection, buffer, sizeof buffer);
    if (got <= 0) return job;
    job.append(buffer, got);
  }
}

QList<QByteArray> SocketPrinter::waitForJobs(int count, int timeoutMs) {
  std::unique_lock lock(mutex_);
  arrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                    [&] { return jobs_.size() >= count; });
  return jobs_;
}

QList<QByteArray> SocketPrinter::jobs() const {
  std::lock_guard lock(mutex_);
  return jobs_;
}
