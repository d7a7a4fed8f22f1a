#include "DemoLabels.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <mutex>

// The projects live in a static library, whose resource object the linker
// would drop unless something registers it explicitly.
static void registerDemoResource() {
  static std::once_flag once;
  std::call_once(once, [] { Q_INIT_RESOURCE(demo); });
}

namespace host {

QStringList installDemoLabelProjects(const QString& reportDir, QString* error) {
  registerDemoResource();
  QStringList written;
  QDir dir(reportDir);
  dir.mkpath(QStringLiteral("."));
  for (const QString& name :
       {QStringLiteral("ETICHETTA.LBL"), QStringLiteral("ETICHETTA_EAN.LBL"),
        QStringLiteral("ETICHETTA.TXT"), QStringLiteral("ETICHETTA_EAN.TXT")}) {
    const QString target = dir.filePath(name);
    if (QFileInfo::exists(target)) continue;
    QFile source(QStringLiteral(":/demo/Report/") + name);
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

}  // namespace host
