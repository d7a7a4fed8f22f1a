#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs the orbelan program with no display at all, its host folder inherited
// from the environment (HostInstallation sets it), and returns what it said.
struct CommandRun {
  int exitCode;
  QString errors;  // standard error
};

inline CommandRun runOrbelan(const QStringList& arguments) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("DISPLAY");
  environment.remove("WAYLAND_DISPLAY");
  environment.remove("QT_QPA_PLATFORM");
  process.setProcessEnvironment(environment);
  process.start(ORBELAN_HOST_PROGRAM, arguments);
  if (!process.waitForFinished(120000)) return {-1, QStringLiteral("did not finish")};
  return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
}
