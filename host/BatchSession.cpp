#include "BatchSession.h"

#include <cstdio>

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

bool BatchSession::open(int user) {
  ambiente_ = entry::creaAmbiente(user);
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
    say(QStringLiteral("cannot open the main database ") + archive);
    return false;
  }
  return true;
}

}  // namespace host
