#include "db/Transaction.h"

#include <algorithm>

#include "db/Database.h"
#include "db/FbStatus.h"
#include "db/Query.h"

namespace db {

using detail::call;
using detail::Status;

namespace {

struct NamedParam {
  const char* name;
  unsigned char tag;
};

constexpr NamedParam kParams[] = {
    {"isc_tpb_consistency", isc_tpb_consistency},
    {"isc_tpb_concurrency", isc_tpb_concurrency},
    {"isc_tpb_read_committed", isc_tpb_read_committed},
    {"isc_tpb_rec_version", isc_tpb_rec_version},
    {"isc_tpb_no_rec_version", isc_tpb_no_rec_version},
    {"isc_tpb_wait", isc_tpb_wait},
    {"isc_tpb_nowait", isc_tpb_nowait},
    {"isc_tpb_read", isc_tpb_read},
    {"isc_tpb_write", isc_tpb_write},
    {"isc_tpb_shared", isc_tpb_shared},
    {"isc_tpb_protected", isc_tpb_protected},
    {"isc_tpb_exclusive", isc_tpb_exclusive},
    {"isc_tpb_autocommit", isc_tpb_autocommit},
    {"isc_tpb_no_auto_undo", isc_tpb_no_auto_undo},
};

unsigned char tagFor(const QString& name) {
  const QString key = name.trimmed().toLower();
  for (const NamedParam& param : kParams)
    if (key == QLatin1String(param.name)) return param.tag;
  // Without the prefix, as some callers write them ("concurrency").
  for (const NamedParam& param : kParams)
    if (QLatin1String("isc_tpb_") + key == QLatin1String(param.name)) return param.tag;
  throw DbError(QStringLiteral("Parametro di transazione sconosciuto: ") + name);
}

}  // namespace

Transaction::Transaction(Database& database, QStringList params)
    : database_(&database), params_(std::move(params)) {
  database_->registerTransaction(this);
}

Transaction::~Transaction() {
  endForDetach();
  const auto queries = queries_;
  for (Query* query : queries) query->detachFromTransaction();
  if (database_) database_->unregisterTransaction(this);
}

Database& Transaction::database() const {
  if (!database_) throw DbError(QStringLiteral("Database non disponibile"));
  return *database_;
}

void Transaction::start() {
  if (handle_) throw DbError(QStringLiteral("Transazione già attiva"));
  Database& db = database();
  if (!db.isConnected()) throw DbError(QStringLiteral("Database non connesso"));
  std::vector<unsigned char> tpb;
  if (!params_.isEmpty()) {
    tpb.push_back(isc_tpb_version3);
    for (const QString& name : params_) tpb.push_back(tagFor(name));
  }
  handle_ = call([&](Status* status) {
    return db.attachment()->startTransaction(status, static_cast<unsigned>(tpb.size()),
                                             tpb.empty() ? nullptr : tpb.data());
  });
}

void Transaction::ensureStarted() {
  if (!handle_) start();
}

void Transaction::commit() {
  if (!handle_) return;
  closeQueries();
  call([&](Status* status) { handle_->commit(status); });
  handle_ = nullptr;
}

void Transaction::commitRetaining() {
  if (!handle_) return;
  call([&](Status* status) { handle_->commitRetaining(status); });
}

void Transaction::rollback() {
  if (!handle_) return;
  closeQueries();
  try {
    call([&](Status* status) { handle_->rollback(status); });
    handle_ = nullptr;
  } catch (const DbError&) {
    // A transaction whose connection broke cannot be rolled back; the
    // server undoes it when the connection goes.
    handle_->release();
    handle_ = nullptr;
    throw;
  }
}

void Transaction::rollbackAndRestart() {
  rollback();
  start();
}

void Transaction::endForDetach() {
  if (!handle_) return;
  closeQueries(true);
  try {
    rollback();
  } catch (const DbError&) {
    // Already released by rollback().
  }
}

void Transaction::forgetDatabase() {
  endForDetach();
  database_ = nullptr;
}

void Transaction::registerQuery(Query* query) {
  queries_.push_back(query);
}

void Transaction::unregisterQuery(Query* query) {
  std::erase(queries_, query);
}

void Transaction::closeQueries(bool quietly) {
  const auto queries = queries_;
  for (Query* query : queries) {
    if (quietly)
      query->closeQuietly();
    else
      query->close();
  }
}

}  // namespace db
