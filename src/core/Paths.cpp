#include "core/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace core {

namespace {

QString withTrailingBackslash(QString path) {
  if (!path.endsWith('\\')) path.append('\\');
  return path;
}

QHash<QChar, QString> driveTable() {
  QHash<QChar, QString> table;
  const QString mapping = qEnvironmentVariable("ORBELAN_DRIVES");
  for (const QString& entry : mapping.split(';', Qt::SkipEmptyParts)) {
    const int eq = entry.indexOf('=');
    if (eq != 1) continue;
    table.insert(entry.at(0).toUpper(), entry.mid(eq + 1));
  }
  return table;
}

bool hasDriveLetter(const QString& path) {
  return path.size() >= 2 && path.at(1) == ':' && path.at(0).isLetter() &&
         path.at(0).unicode() < 0x80;
}

}  // namespace

QString nativePath(const QString& stored) {
#ifdef Q_OS_WIN
  return stored;
#else
  QString path = stored;
  if (hasDriveLetter(path)) {
    const QString root = driveTable().value(path.at(0).toUpper());
    QString rest = path.mid(2);
    if (!root.isEmpty()) {
      if (!rest.startsWith('\\') && !rest.startsWith('/')) rest.prepend('\\');
      QString base = root;
      while (base.endsWith('/')) base.chop(1);
      path = base + rest;
    } else {
      path = rest.isEmpty() ? QStringLiteral("/") : rest;
    }
  }
  path.replace('\\', '/');
  return path;
#endif
}

QString storedPath(const QString& native) {
  QString path = native;
  return path.replace('/', '\\');
}

QString storedDirectory(const QString& stored) {
  const int slash = stored.lastIndexOf('\\');
  return slash < 0 ? QString() : stored.left(slash + 1);
}

QString storedFileName(const QString& stored) {
  return stored.mid(stored.lastIndexOf('\\') + 1);
}

QString hostDirectory() {
  QString dir = qEnvironmentVariable("ORBELAN_HOST_DIR");
  if (dir.isEmpty() && QCoreApplication::instance()) dir = QCoreApplication::applicationDirPath();
#ifndef Q_OS_WIN
  if (dir.isEmpty())
    dir = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget().section('/', 0, -2);
#endif
  return withTrailingBackslash(storedPath(QDir::cleanPath(dir)));
}

QString windowsDirectory() {
  QString dir = qEnvironmentVariable("ORBELAN_WINDOWS_DIR");
  if (dir.isEmpty()) dir = QDir::homePath() + QStringLiteral("/.config/orbelan/windows");
  return withTrailingBackslash(storedPath(QDir::cleanPath(dir)));
}

}  // namespace core
