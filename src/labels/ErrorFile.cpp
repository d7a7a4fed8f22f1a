#include "labels/ErrorFile.h"

#include <QSaveFile>

#include "core/Cp1252.h"
#include "core/Paths.h"

namespace labels {

QString saveFailedStatement(const QString& binDir, const QString& fileName,
                            const QStringList& lines) {
  const QString stored = binDir + fileName;
  QSaveFile file(core::nativePath(stored));
  if (file.open(QIODevice::WriteOnly)) {
    file.write(core::toCp1252(lines.join(QStringLiteral("\r\n"))));
    file.commit();
  }
  return stored;
}

}  // namespace labels
