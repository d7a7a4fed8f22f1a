#include "BatchSession.h"

#include <QFileInfo>
#include <cstdio>

#include "db/Database.h"
#include "db/DbError.h"

#include "core/Paths.h"
#include "env/TabX.h"

namespace host {

BatchSession::BatchSession(QString name) : name_(std::move(name)) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (!QCoreApplication::instance()) application_ = std::make_unique<QApplication>(argc_, argv_);
  previousPrompter_ = ui::installPrompter(&prompter_);
}

BatchSession::~BatchSession() {
  ambiente_.reset();
  ui::installPrompter(previousPrompter_);
}

void BatchSession::say(const QString& text) const {
  std::fprintf(stderr, "%s: %s\n", name_.toLocal8Bit().constData(), text.toLocal8Bit().constData());
}

namespace {

// Why a database named as stored cannot be opened: a local file that is
// missing or that this user may not read or write is said plainly,
// anything else (a lock held by another program, a damaged file, an
// unreachable server) in the database's own words.
QString whyNotOpen(const QString& stored) {
  const QString name = db::Database::connectionName(stored);
  const bool local = !name.contains(':') || QFileInfo(name).isAbsolute();
  if (local) {
    const QFileInfo file(name);
    if (!file.exists()) return QStringLiteral("the file does not exist");
    if (!file.isReadable() || !file.isWritable())
      return QStringLiteral("this user may not read and write the file");
  }
  try {
    db::Database probe;
    probe.attach(stored, db::Database::defaultUser(), db::Database::defaultPassword());
  } catch (const db::DbError& error) {
    return error.text();
  }
  return QStringLiteral("it could not be opened at the time");
}

}  // namespace

bool BatchSession::open(int user) {
  ambiente_ = entry::creaAmbiente(user);
  if (!ambiente_->IBDatabaseUser.isConnected()) {
    const QString users = core::hostDirectory() + QStringLiteral("user\\user.fdb");
    say(QStringLiteral("cannot open the user database %1: %2")
            .arg(core::nativePath(users), whyNotOpen(users)));
    return false;
  }
  if (ambiente_->GetNomeUser().isEmpty()) {
    say(QStringLiteral("there is no user %1 in the user database %2")
            .arg(user)
            .arg(core::nativePath(core::hostDirectory() + QStringLiteral("user\\user.fdb"))));
    return false;
  }
  // A path too long to be kept whole has been reported by the console prompter.
  if (!entry::caricaBinDir(*ambiente_, user) || !entry::caricaArchivio(*ambiente_, user))
    return false;
  const QString archive = ambiente_->GetV(QStringLiteral("Archivio"));
  if (archive.isEmpty()) {
    say(QStringLiteral("user %1 has no \"Archivio\" setting naming the main database").arg(user));
    return false;
  }
  if (!entry::connettiArchivio(*ambiente_)) {
    say(QStringLiteral("cannot open the main database %1: %2").arg(archive, whyNotOpen(archive)));
    return false;
  }
  return true;
}

}  // namespace host
