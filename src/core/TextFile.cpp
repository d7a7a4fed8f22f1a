#include "core/TextFile.h"

#include "core/Cp1252.h"
#include "core/OutputFile.h"
#include "core/Paths.h"

namespace core {

bool writeTextLines(const QString& storedPath, const QStringList& lines) {
  QByteArray bytes;
  for (const QString& line : lines) bytes += toCp1252(line) + "\r\n";
  // Written aside and renamed, so a reader never sees half a file.
  OutputFile file(nativePath(storedPath));
  return file.open() && file.write(bytes) && file.commit();
}

}  // namespace core
