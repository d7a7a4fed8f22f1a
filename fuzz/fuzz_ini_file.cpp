// An INI file of any content, read the way the profile functions read it,
// then written to and read back.
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/IniFile.h"
#include "core/Paths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("fuzz.ini"));
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  const core::IniFile ini(core::storedPath(path));
  for (const QString& section : ini.sections())
    for (const QString& key : ini.keys(section)) (void)ini.read(section, key);
  // A value written is read back as written, whatever the file held.
  const QString value = QStringLiteral("C:\\dati\\archivio.fdb");
  if (!ini.write(QStringLiteral("Dati"), QStringLiteral("Archivio"), value)) std::abort();
  if (ini.read(QStringLiteral("dati"), QStringLiteral("ARCHIVIO")) != value) std::abort();
  return 0;
}
