#include "db/DbError.h"

#include "core/Cp1252.h"
#include "db/Database.h"
#include "db/FbStatus.h"

namespace db {

bool DbError::isLockConflict() const {
  for (const qint64 code : codes_)
    if (code == isc_lock_conflict || code == isc_update_conflict || code == isc_deadlock ||
        code == isc_lock_timeout)
      return true;
  return false;
}

bool DbError::isCancelled() const {
  return codes_.contains(isc_cancelled);
}

namespace detail {

DbError toDbError(const Firebird::IStatus* status) {
  char text[2048] = {};
  util()->formatStatus(text, sizeof text - 1, const_cast<Firebird::IStatus*>(status));
  QList<qint64> codes;
  const ISC_STATUS* vector = const_cast<Firebird::IStatus*>(status)->getErrors();
  for (const ISC_STATUS* p = vector; p && *p != isc_arg_end;) {
    const ISC_STATUS kind = *p++;
    if (kind == isc_arg_gds) codes.append(*p);
    ++p;
  }
  const int sqlCode = static_cast<int>(isc_sqlcode(vector));
  return DbError(core::fromCp1252(QByteArray(text)).trimmed(), codes, sqlCode);
}

void rethrow(const Firebird::FbException& error) {
  throw toDbError(error.getStatus());
}

void closeQuietly(Firebird::IResultSet*& cursor) {
  if (!cursor) return;
  try {
    call([&](Status* status) { cursor->close(status); });
  } catch (const DbError&) {
    cursor->release();
  }
  cursor = nullptr;
}

void freeQuietly(Firebird::IStatement*& statement) {
  if (!statement) return;
  try {
    call([&](Status* status) { statement->free(status); });
  } catch (const DbError&) {
    statement->release();
  }
  statement = nullptr;
}

}  // namespace detail
}  // namespace db
