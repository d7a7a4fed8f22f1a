#include "db/Database.h"

#include <algorithm>

#include "core/Cp1252.h"
#include "core/Paths.h"
#include "db/Cancellation.h"
#include "db/EmbeddedEngine.h"
#include "db/FbStatus.h"
#include "db/Transaction.h"

namespace db {

using detail::call;
using detail::Status;

Firebird::IMaster* master() {
  // The engine reads its configuration when it is first used.
  static Firebird::IMaster* const instance = [] {
    configureEmbeddedEngine();
    return Firebird::fb_get_master_interface();
  }();
  return instance;
}
Firebird::IUtil* util() {
  return master()->getUtilInterface();
}

namespace {

bool startsWithDriveLetter(const QString& path) {
  return path.size() >= 2 && path.at(1) == ':' && path.at(0).isLetter() &&
         path.at(0).unicode() < 0x80;
}

ConnectionObserver& connectionObserver() {
  static ConnectionObserver instance;
  return instance;
}

void notify(ConnectionAttempt attempt, const QString& name) {
  if (connectionObserver()) connectionObserver()(attempt, name);
}

bool looksLikePath(const QString& text) {
  return text.contains('\\') || text.contains('/') || startsWithDriveLetter(text);
}

// Connection parameters: user, password, WIN1252, dialect 3 (and the page
// size when creating).
std::vector<unsigned char> connectionBlock(const QString& user, const QString& password,
                                           int pageSize) {
  return call([&](Status* status) {
    Firebird::IXpbBuilder* dpb =
        util()->getXpbBuilder(status, Firebird::IXpbBuilder::DPB, nullptr, 0);
    dpb->insertString(status, isc_dpb_user_name, core::toCp1252(user).constData());
    dpb->insertString(status, isc_dpb_password, core::toCp1252(password).constData());
    dpb->insertString(status, isc_dpb_lc_ctype, "WIN1252");
    dpb->insertInt(status, isc_dpb_sql_dialect, 3);
    if (pageSize > 0) {
      dpb->insertInt(status, isc_dpb_page_size, pageSize);
      dpb->insertString(status, isc_dpb_set_db_charset, "WIN1252");
    }
    const unsigned char* begin = dpb->getBuffer(status);
    std::vector<unsigned char> block(begin, begin + dpb->getBufferLength(status));
    dpb->dispose();
    return block;
  });
}

}  // namespace

void setConnectionObserver(ConnectionObserver observer) {
  connectionObserver() = std::move(observer);
}

Database::Database() = default;

Database::~Database() {
  detach();
  const auto transactions = transactions_;
  for (Transaction* transaction : transactions) transaction->forgetDatabase();
}

QString Database::connectionName(const QString& name) {
#ifdef Q_OS_WIN
  return name;
#else
  // A UNC name \\server\share\rest addresses a file the server holds: here
  // that is server:/share/rest.
  if (name.startsWith(QStringLiteral("\\\\"))) {
    const QString rest = name.mid(2);
    const int slash = rest.indexOf('\\');
    if (slash > 0) return rest.left(slash) + ':' + core::nativePath(rest.mid(slash));
    return name;
  }
  // A URL ("inet://server/alias", "inet://server//path") is the client's own.
  if (name.contains(QStringLiteral("://"))) return name;
  if (startsWithDriveLetter(name) || !name.contains(':')) return core::nativePath(name);
  const int colon = name.indexOf(':');
  const QString server = name.left(colon);
  const QString rest = name.mid(colon + 1);
  return looksLikePath(rest) ? server + ':' + core::nativePath(rest) : name;
#endif
}

QString Database::defaultUser() {
  const QString user = qEnvironmentVariable("ISC_USER");
  return user.isEmpty() ? QStringLiteral("SYSDBA") : user;
}

QString Database::defaultPassword() {
  const QString password = qEnvironmentVariable("ISC_PASSWORD");
  return password.isEmpty() ? QStringLiteral("bluecedar") : password;
}

void Database::attach(const QString& name, const QString& user, const QString& password) {
  connect(ConnectionAttempt::Attach, name, connectionBlock(user, password, 0));
  user_ = user;
  password_ = password;
}

void Database::create(const QString& name, const QString& user, const QString& password,
                      int pageSize) {
  connect(ConnectionAttempt::Create, name,
          connectionBlock(user, password, pageSize > 0 ? pageSize : 4096));
  user_ = user;
  password_ = password;
}

void Database::connect(ConnectionAttempt attempt, const QString& name,
                       const std::vector<unsigned char>& block) {
  detach();
  notify(attempt, name);
  const QByteArray target = core::toCp1252(connectionName(name));
  attachment_ = call([&](Status* status) {
    Firebird::IProvider* provider = master()->getDispatcher();
    struct Releaser {
      Firebird::IProvider* p;
      ~Releaser() { p->release(); }
    } releaser{provider};
    const auto length = static_cast<unsigned>(block.size());
    return attempt == ConnectionAttempt::Attach
               ? provider->attachDatabase(status, target.constData(), length, block.data())
               : provider->createDatabase(status, target.constData(), length, block.data());
  });
  registerForCancellation(attachment_);
  name_ = name;
}

void Database::detach() {
  if (!attachment_) return;
  // Open transactions are rolled back before the attachment goes away.
  const auto transactions = transactions_;
  unregisterFromCancellation(attachment_);
  for (Transaction* transaction : transactions) transaction->endForDetach();
  try {
    call([&](Status* status) { attachment_->detach(status); });
    attachment_ = nullptr;
  } catch (const DbError&) {
    // A broken connection cannot be detached cleanly; drop the handle.
    attachment_->release();
    attachment_ = nullptr;
  }
}

void Database::registerTransaction(Transaction* transaction) {
  transactions_.push_back(transaction);
}

void Database::unregisterTransaction(Transaction* transaction) {
  std::erase(transactions_, transaction);
}

}  // namespace db
