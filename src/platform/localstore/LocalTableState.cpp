#include "platform/localstore/LocalTableState.h"

#include <QDir>

#include "core/Paths.h"

namespace platform::localstore {

namespace {

bool takeExclusivelyAndEmpty(LocalTable& table) {
  return table.open(LocalTable::Access::Exclusive) && table.empty();
}

}  // namespace

QString StatoTabellaLocale(LocalTable& table) {
  if (!table.exists()) return kNonEsiste;
  bool firstAttempt = true;
  bool firstSucceeded = false;
  for (;;) {
    table.close();
    const bool taken = takeExclusivelyAndEmpty(table);
    if (firstAttempt) firstSucceeded = taken;
    firstAttempt = false;
    if (taken) break;
    table.close();
    table.setName(ProssimoNomeLibero(table.name()));
    if (!table.exists()) break;
  }
  return firstSucceeded ? kEsisteLibera : kEsisteOccupata;
}

QString ProssimoNomeLibero(const QString& name) {
  QString base = name.toUpper();
  if (base.endsWith(QLatin1String(".DB"))) base.chop(3);
  bool numbered = false;
  const int number = base.size() >= 2 ? base.right(2).toInt(&numbered) : 0;
  // "+1" or " 1" would read as numbers too; only two digits count.
  numbered = numbered && base.size() >= 2 && base.at(base.size() - 1).isDigit() &&
             base.at(base.size() - 2).isDigit();
  if (numbered) {
    base.chop(2);
    base += QStringLiteral("%1").arg(number + 1, 2, 10, QLatin1Char('0'));
  } else {
    base = base.left(5) + QStringLiteral("01");
  }
  return base + QStringLiteral(".DB");
}

bool dropAlternativeTable(LocalTable& table, const QString& usualName) {
  if (table.name().compare(usualName, Qt::CaseInsensitive) == 0) return true;
  table.close();
  return !table.exists() || table.remove();
}

bool createWorkDirectory(const QString& directory) {
  const QString native = core::nativePath(directory);
  return QDir().mkpath(native) && QDir::setCurrent(native);
}

}  // namespace platform::localstore
