#include "DemoLabels.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <mutex>

// The demo files live in a static library, whose resource object the linker
// would drop unless something registers it explicitly.
static void registerDemoResource() {
  static std::once_flag once;
  std::call_once(once, [] { Q_INIT_RESOURCE(demo); });
}

namespace host {

QStringList installDemoFiles(const QString& resourceFolder, const QStringList& names,
                             const QString& targetDir, QString* error) {
  registerDemoResource();
  QStringList written;
  QDir dir(targetDir);
  dir.mkpath(QStringLiteral("."));
  const QString folder = QStringLiteral(":/demo/") + resourceFolder;
  for (const QString& name : names.isEmpty() ? QDir(folder).entryList(QDir::Files) : names) {
    const QString target = dir.filePath(name);
    if (QFileInfo::exists(target)) continue;
    QFile source(folder + QLatin1Char('/') + name);
    QFile file(target);
    // Written rather than copied, so that the file is not read-only like the
    // resource it comes from and the designer can save it.
    if (!source.open(QIODevice::ReadOnly) || !file.open(QIODevice::WriteOnly) ||
        file.write(source.readAll()) < 0 || !file.flush()) {
      if (error) *error = QStringLiteral("Cannot write %1: %2").arg(target, file.errorString());
      file.remove();
      continue;
    }
    written << target;
  }
  return written;
}

QStringList installDemoLabelProjects(const QString& reportDir, QString* error) {
  return installDemoFiles(QStringLiteral("Report"),
                          {QStringLiteral("ETICHETTA.LBL"), QStringLiteral("ETICHETTA_EAN.LBL"),
                           QStringLiteral("ETICHETTA.TXT"), QStringLiteral("ETICHETTA_EAN.TXT")},
                          reportDir, error);
}

}  // namespace host
