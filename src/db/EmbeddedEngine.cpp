#include "db/EmbeddedEngine.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace db {

namespace {

// The folder of the client library the process uses.
QString clientLibraryFolder() {
  void* handle = ::dlopen("libfbclient.so.2", RTLD_LAZY | RTLD_NOLOAD);
  if (!handle) handle = ::dlopen("libfbclient.so", RTLD_LAZY | RTLD_NOLOAD);
  if (!handle) return {};
  QString folder;
  link_map* map = nullptr;
  if (::dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name)
    folder = QFileInfo(QFile::decodeName(map->l_name)).canonicalPath();
  ::dlclose(handle);
  return folder;
}

// The system's Firebird root: where its message file lies beside the
// configuration (Debian: <libdir>/firebird/3.0, a tarball install: /opt/firebird).
QString systemRoot() {
  QStringList candidates;
  const QString libraries = clientLibraryFolder();
  if (!libraries.isEmpty())
    candidates << libraries + QStringLiteral("/firebird/3.0") << libraries + QStringLiteral("/..");
  candidates << QStringLiteral("/opt/firebird");
  for (const QString& candidate : candidates)
    if (QFileInfo::exists(candidate + QStringLiteral("/firebird.msg")))
      return QDir(candidate).canonicalPath();
  return {};
}

bool writeIfChanged(const QString& file, const QByteArray& content) {
  QFile current(file);
  if (current.open(QIODevice::ReadOnly) && current.readAll() == content) return true;
  current.close();
  // Written aside and renamed: another process starting at the same moment
  // reads either the old file or the new one.
  QSaveFile out(file);
  return out.open(QIODevice::WriteOnly) && out.write(content) == content.size() && out.commit();
}

bool linkTo(const QString& link, const QString& target) {
  if (QFileInfo(link).symLinkTarget() == target) return true;
  const QString aside = link + QStringLiteral(".%1").arg(::getpid());
  QFile::remove(aside);
  if (::symlink(QFile::encodeName(target).constData(), QFile::encodeName(aside).constData()) != 0)
    return false;
  return ::rename(QFile::encodeName(aside).constData(), QFile::encodeName(link).constData()) == 0;
}

}  // namespace

QString embeddedEngineFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
         QStringLiteral("/orbelan/firebird");
}

QString configureEmbeddedEngine() {
  if (qEnvironmentVariableIsSet("FIREBIRD")) return {};
  const QString root = systemRoot();
  const QString folder = embeddedEngineFolder();
  if (root.isEmpty() || !QDir().mkpath(folder)) return {};

  QByteArray conf =
      "# Written by Orbelan: the system's settings, with the engine in SuperClassic\n"
      "# mode so that several processes can open one embedded database.\n";
  if (QFileInfo::exists(root + QStringLiteral("/firebird.conf")))
    conf += "include " + QFile::encodeName(root) + "/firebird.conf\n";
  conf += "ServerMode = SuperClassic\n";
  if (!writeIfChanged(folder + QStringLiteral("/firebird.conf"), conf)) return {};
  // The message file and the other configuration files (aliases, plugins)
  // are the system's own.
  const QStringList shared =
      QDir(root).entryList({QStringLiteral("*.msg"), QStringLiteral("*.conf")}, QDir::Files);
  for (const QString& name : shared) {
    if (name == QLatin1String("firebird.conf")) continue;
    if (!linkTo(folder + '/' + name, root + '/' + name)) return {};
  }
  qputenv("FIREBIRD", QFile::encodeName(folder));
  return folder;
}

}  // namespace db
