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

bool copyCharacterSets(const QString& from, const QString& to) {
  if (QFileInfo(to).isSymLink()) QFile::remove(to);
  if (!QDir().mkpath(to)) return false;
  for (const QFileInfo& entry : QDir(from).entryInfoList(QDir::Files)) {
    const QString target = to + '/' + entry.fileName();
    if (!entry.fileName().endsWith(QLatin1String(".so"))) {
      if (!linkTo(target, entry.absoluteFilePath())) return false;
      continue;
    }
    const QFileInfo current(target);
    if (current.exists() && !current.isSymLink() && current.size() == entry.size() &&
        current.lastModified() >= entry.lastModified())
      continue;
    const QString aside = target + QStringLiteral(".%1").arg(::getpid());
    QFile::remove(aside);
    if (!QFile::copy(entry.absoluteFilePath(), aside) ||
        ::rename(QFile::encodeName(aside).constData(), QFile::encodeName(target).constData()) != 0)
      return false;
  }
  return true;
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
  // Everything else is the system's own: the message file, the other
  // configuration files (aliases, plugins), plugins/. The character sets in
  // intl/ are found only in a folder of their own whose library is a copy:
  // through a link the engine loads it but knows none of its character sets.
  const QStringList shared =
      QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
  for (const QString& name : shared) {
    if (name == QLatin1String("firebird.conf")) continue;
    if (name == QLatin1String("intl")) {
      if (!copyCharacterSets(root + QStringLiteral("/intl"), folder + QStringLiteral("/intl")))
        return {};
      continue;
    }
    if (!linkTo(folder + '/' + name, root + '/' + name)) return {};
  }
  qputenv("FIREBIRD", QFile::encodeName(folder));
  return folder;
}

}  // namespace db
