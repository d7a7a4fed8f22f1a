#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <condition_variable>
#include <mutex>
#include <thread>

// A networked printer played by the test: it listens on 127.0.0.1 on a free
// port, takes one connection at a time and keeps, for each connection, every
// byte received until the sender closed its side, as one job. It runs on a
// thread of its own, so the printing code under test never waits for it.
class SocketPrinter {
 public:
  SocketPrinter();
  ~SocketPrinter();
  SocketPrinter(const SocketPrinter&) = delete;
  SocketPrinter& operator=(const SocketPrinter&) = delete;

  // 0 when no port could be opened.
  quint16 port() const { return port_; }
  QString deviceUri() const;

  // Waits until `count` jobs arrived or `timeoutMs` passed; the jobs so far.
  QList<QByteArray> waitForJobs(int count, int timeoutMs = 30000);
  QList<QByteArray> jobs() const;

 private:
  void serve();
  QByteArray receive(int connection);

  int listener_ = -1;
  int wakeRead_ = -1, wakeWrite_ = -1;
  quint16 port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  QList<QByteArray> jobs_;
};
