#include "core/TextFile.h"

#include <QSaveFile>

#include "core/Cp1252.h"
#include "core/Paths.h"

namespace core {

bool writeTextLines(const QString& storedPath, const QStringList& lines) {
  QByteArray bytes;
  for (const QString& line : lines) bytes += toCp1252(line) + "\r\n";
  // Written aside and renamed, so a reader never sees half a file.
  QSaveFile file(nativePath(storedPath));
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace core
