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

bool takeFreeTable(LocalTable& table) {
  // Beyond this many names in a row taken, something else is wrong.
  constexpr int kNames = 100;
  for (int i = 0; i < kNames; ++i) {
    if (table.createNew()) return true;
    if (!table.nameTaken()) return false;
    // A file nobody holds (left by a run that ended) is replaced; one held,
    // or taken again at this moment, leaves the name to its holder.
    table.remove();
    if (table.createNew()) return true;
    if (!table.nameTaken()) return false;
    table.setName(ProssimoNomeLibero(table.name()));
  }
  return false;
}

bool dropAlternativeTable(LocalTable& table, const QString& usualName) {
  if (table.name().compare(usualName, Qt::CaseInsensitive) == 0) return true;
  // Deleted while still held, so that nobody takes it in between.
  if (!table.exists()) {
    table.close();
    return true;
  }
  return table.remove();
}

bool createWorkDirectory(const QString& directory) {
  const QString native = core::nativePath(directory);
  return QDir().mkpath(native) && QDir::setCurrent(native);
}

}  // namespace platform::localstore
