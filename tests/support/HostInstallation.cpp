#include "support/HostInstallation.h"

#include <gtest/gtest.h>

#include <QDir>

#include "DemoData.h"
#include "DemoLabels.h"
#include "DemoReports.h"
#include "HostSchema.h"
#include "core/Paths.h"
#include "db/Database.h"

HostInstallation::HostInstallation(bool withArchive) {
  qputenv("ORBELAN_HOST_DIR", dir_.path().toLocal8Bit());
  qputenv("ORBELAN_WINDOWS_DIR", native("windows").toLocal8Bit());
  QDir root(dir_.path());
  root.mkpath("user");
  root.mkpath("bin/Report");
  root.mkpath("dati");
  root.mkpath("Grafica");
  host::installDemoLabelProjects(native("bin/Report"));
  host::installDemoReports(native("bin/report"));

  db::Database user;
  user.create(native("user/user.fdb"), "SYSDBA", "masterkey");
  host::createUserSchema(user);
  host::DemoSettings settings;
  settings.binDir = binDir();
  settings.archive = archive();
  host::fillUserDemo(user, settings);

  if (withArchive) {
    db::Database main;
    main.create(native("dati/archivio.fdb"), "SYSDBA", "masterkey");
    host::createArchiveSchema(main);
    host::fillArchiveDemo(main);
  }
}

HostInstallation::~HostInstallation() {
  qunsetenv("ORBELAN_HOST_DIR");
  qunsetenv("ORBELAN_WINDOWS_DIR");
}

QString HostInstallation::native(const QString& relative) const {
  return dir_.filePath(relative);
}

QString HostInstallation::storedRoot() const {
  return core::storedPath(dir_.path()) + '\\';
}

QString HostInstallation::binDir() const {
  return storedRoot() + "bin\\";
}

QString HostInstallation::archive() const {
  return storedRoot() + "dati\\archivio.fdb";
}

void HostInstallation::openArchive(db::Database& database) const {
  database.attach(native("dati/archivio.fdb"), "SYSDBA", "masterkey");
}

void HostInstallation::openUsers(db::Database& database) const {
  database.attach(native("user/user.fdb"), "SYSDBA", "masterkey");
}
