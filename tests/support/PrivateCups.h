#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A CUPS scheduler of the test's own: its configuration, spool, state and
// logs in a temporary folder, reached only through a Unix socket there (no
// network listening, no browsing). While it runs, CUPS_SERVER names that
// socket for this process and the programs it starts, and libcups is pointed
// at it; LPDEST and PRINTER are cleared so that the server's default counts.
// Everything is put back and the scheduler stopped when the object goes.
class PrivateCups {
 public:
  PrivateCups();
  ~PrivateCups();
  PrivateCups(const PrivateCups&) = delete;
  PrivateCups& operator=(const PrivateCups&) = delete;

  // Whether the scheduler started and answers; error() says why not.
  bool isRunning() const { return running_; }
  const QString& error() const { return error_; }
  QString socketPath() const;

  // Adds an enabled queue accepting jobs, printing to `deviceUri` with no
  // driver (a raw queue), or with the driver description `ppdFile`.
  bool addQueue(const QString& name, const QString& deviceUri, const QString& ppdFile = {});
  // A raw queue sending its jobs to socket://127.0.0.1:port, the way
  // networked thermal printers are reached.
  bool addRawQueue(const QString& name, quint16 port);
  bool setDefault(const QString& name);
  // The queue refuses new jobs from now on (cupsreject).
  bool rejectJobs(const QString& name);
  // Runs a CUPS client program (lp, lpstat, lpadmin ...) against this
  // scheduler; false when it fails or outlasts `timeoutMs`, with its output
  // in error().
  bool run(const QString& program, const QStringList& arguments, const QByteArray& input = {},
           int timeoutMs = 30000);

  // The scheduler's error log, for failure messages.
  QString log() const;

 private:
  bool start();
  bool waitUntilReady();
  void writeConfiguration();

  QTemporaryDir dir_;
  QProcess cupsd_;
  bool running_ = false;
  QString error_;
  QByteArray savedServer_, savedLpdest_, savedPrinter_;
  bool hadServer_ = false, hadLpdest_ = false, hadPrinter_ = false;
};

// The cupsd program, or an empty string when CUPS is not installed. Under CI
// (CI set) that fails the test instead, so missing printing tests never pass
// silently.
QString cupsdProgram();

#define REQUIRE_CUPSD()                                                                    \
  do {                                                                                     \
    if (cupsdProgram().isEmpty())                                                          \
      GTEST_SKIP() << "cupsd is not installed (Debian package cups): printing not tested"; \
  } while (0)
