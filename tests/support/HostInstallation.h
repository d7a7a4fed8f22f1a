#pragma once

#include <QString>
#include <QTemporaryDir>

namespace db {
class Database;
}

// A host installation in a temporary folder, as the demo makes it: the
// user database "user\user.fdb" with the demo users and their settings, a bin
// folder with "Report\" holding the demo label projects and "report\" the
// chart reports, and the main
// archive "dati\archivio.fdb" with the host tables and demo data. While it
// lives, the host directory and the Windows folder point into it.
class HostInstallation {
 public:
  explicit HostInstallation(bool withArchive = true);
  ~HostInstallation();
  HostInstallation(const HostInstallation&) = delete;
  HostInstallation& operator=(const HostInstallation&) = delete;

  // Native path of a file under the installation.
  QString native(const QString& relative) const;
  // Stored (Windows-form) paths.
  QString storedRoot() const;
  QString binDir() const;
  QString archive() const;

  // Attach the installation's main archive and user database.
  void openArchive(db::Database& database) const;
  void openUsers(db::Database& database) const;

 private:
  QTemporaryDir dir_;
};
