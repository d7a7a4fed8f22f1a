#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs the orbelan program with no display at all, its host folder inherited
// from the environment (HostInstallation sets it), and returns what it said.
struct CommandRun {
  int exitCode;
  QString errors;  // standard error
  QString output;  // standard output, read as UTF-8
};

// Starts the program in `process` the same way, for a test that acts on it
// while it runs.
inline void startOrbelan(QProcess& process, const QStringList& arguments) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("DISPLAY");
  environment.remove("WAYLAND_DISPLAY");
  environment.remove("QT_QPA_PLATFORM");
  process.setProcessEnvironment(environment);
  process.start(ORBELAN_HOST_PROGRAM, arguments);
}

inline CommandRun runOrbelan(const QStringList& arguments) {
  QProcess process;
  startOrbelan(process, arguments);
  if (!process.waitForFinished(120000)) return {-1, QStringLiteral("did not finish"), {}};
  return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError()),
          QString::fromUtf8(process.readAllStandardOutput())};
}
