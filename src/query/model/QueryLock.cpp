#include "query/model/QueryLock.h"

#include <QStringList>

#include "core/Cp1252.h"

namespace query::model {

namespace {

int firstLockRow(const RowList& rows) {
  for (int i = 0; i < rows.count(); ++i)
    if (rows.at(i).mostra == Mostra::Lock) return i;
  return -1;
}

LockState requestedState(const LockRequest& request) {
  if (request.keyed) return LockState::Keyed;
  return request.locked ? LockState::Simple : LockState::None;
}

}  // namespace

CurrentLock currentLock(const RowList& rows) {
  const int lock = firstLockRow(rows);
  if (lock < 0) return {};
  const QString& condizione = rows.at(lock).condizione;
  if (condizione.isEmpty()) return {LockState::Simple, {}};
  return {LockState::Keyed, condizione};
}

QString CriptaChiave(const QString& chiave) {
  const QByteArray k = core::toCp1252(chiave);
  QStringList numbers;
  for (int i = 0; i < k.size(); ++i) {
    const auto previous = static_cast<unsigned char>(k.at(i == 0 ? k.size() - 1 : i - 1));
    const auto current = static_cast<unsigned char>(k.at(i));
    numbers << QString::number(255 - ((previous & 0x8E) | (current & 0x71)));
  }
  return numbers.join(QLatin1Char(' '));
}

QString keyRefusal(const QString& chiave) {
  if (chiave.isEmpty()) return QStringLiteral("Inserire una chiave");
  if (chiave.size() != 6)
    return QStringLiteral("La chiave inserita deve essere composta da sei caratteri!");
  if (chiave.count(chiave.front()) == chiave.size())
    return QStringLiteral("Impossibile inserire una chiave con tutti i caratteri uguali!");
  return {};
}

KeyAcceptance acceptKey(const CurrentLock& lock, const QString& chiave) {
  if (QString refusal = keyRefusal(chiave); !refusal.isEmpty()) return {false, refusal};
  if (lock.state == LockState::Keyed) {
    if (CriptaChiave(chiave) == lock.storedKey) return {true, {}};
    return {false, QStringLiteral("Chiave Errata")};
  }
  return {true, QStringLiteral("Nuova chiave corretta")};
}

QString applyLock(RowList& rows, DesignerFlags& flags, const LockRequest& request) {
  const CurrentLock lock = currentLock(rows);
  const LockState target = requestedState(request);
  if (target == lock.state) return {};
  if (target == LockState::Keyed && !keyRefusal(request.key).isEmpty()) return kKeyNotValid;
  if (lock.state == LockState::Keyed && !request.keyAccepted) return kKeyNotValid;

  InternalChange change(rows);
  const int lockRow = firstLockRow(rows);
  const QString scrambled = target == LockState::Keyed ? CriptaChiave(request.key) : QString();
  if (lock.state == LockState::None) {
    rows.append(kLockName, Mostra::Lock, scrambled);
  } else if (target == LockState::None) {
    // Both lock kinds are a single row here: a query with side-by-side parts
    // (whose ends are kind 7 too) can't be unlocked.
    for (int i = rows.count() - 1; i >= 0; --i)
      if (rows.at(i).mostra == Mostra::Lock) rows.remove(i);
  } else {
    rows.setCondizione(lockRow, scrambled);
  }
  flags.locked = target != LockState::None;
  return {};
}

}  // namespace query::model
