#include "env/DatabaseLocation.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>

#include "core/IniFile.h"
#include "core/Paths.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "ui/DorviIn2Form.h"
#include "ui/Prompter.h"

namespace env {

namespace {

const QString kSection = QStringLiteral("CONFIG");

QString orDefault(const QString& value, QString (*fallback)()) {
  return value.isEmpty() ? fallback() : value;
}

}  // namespace

bool isLocalOrUncDirectory(const QString& directory) {
  if (directory.startsWith('\\')) return true;
  return directory.size() >= 3 && directory.at(0).isLetter() && directory.at(0).unicode() < 0x80 &&
         directory.at(1) == ':' && directory.at(2) == '\\';
}

namespace {

bool startsWithDrive(const QString& path, QChar separator) {
  return path.size() >= 3 && path.at(0).isLetter() && path.at(0).unicode() < 0x80 &&
         path.at(1) == ':' && path.at(2) == separator;
}

// A server's name or address, possibly with a port or service after a slash.
bool isServerName(const QString& server) {
  static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9_.-]+(/[A-Za-z0-9_-]+)?$"));
  return pattern.match(server).hasMatch();
}

// A path as the server reads it, or one of its aliases.
bool isServerPath(const QString& path) {
  static const QRegularExpression alias(QStringLiteral("^[A-Za-z0-9_$.-]+$"));
  if (alias.match(path).hasMatch()) return true;
  // A stored path may end with its folder (archivio.fdb is meant); a path
  // with forward slashes names its file.
  if (startsWithDrive(path, '\\') || path.startsWith('\\')) return true;
  if (startsWithDrive(path, '/') || path.startsWith('/'))
    return !path.contains('\\') && !path.endsWith('/');
  return false;
}

// "inet://server[:port]/alias" or "inet://server[:port]//absolute/path".
bool isDatabaseUrl(const QString& name) {
  static const QRegularExpression pattern(
      QStringLiteral("^inet[46]?://[A-Za-z0-9_.-]+(:[A-Za-z0-9_-]+)?/(.+)$"));
  const QRegularExpressionMatch match = pattern.match(name);
  return match.hasMatch() && isServerPath(match.captured(2)) && !match.captured(2).contains('\\');
}

}  // namespace

QString storedDatabaseName(const QString& name) {
  const bool localWithSlashes = (name.startsWith('/') && !name.startsWith(QStringLiteral("//"))) ||
                                startsWithDrive(name, '/');
  if (!localWithSlashes || name.contains('\\')) return name;
  QString stored = name;
  return stored.replace('/', '\\');
}

bool isCompleteDatabaseName(const QString& name) {
  if (isLocalOrUncDirectory(core::storedDirectory(name))) return true;
  if (name.contains(QStringLiteral("://"))) return isDatabaseUrl(name);
  const int colon = name.indexOf(':');
  return colon > 1 && isServerName(name.left(colon)) && isServerPath(name.mid(colon + 1));
}

bool AttivaDatabase(db::Database& database, const QString& databaseName, const QString& server,
                    const QString& driveLetter, const QString& user, const QString& password,
                    WhenMissing whenMissing) {
  database.detach();
  const QString name = orDefault(user, &db::Database::defaultUser);
  const QString secret = orDefault(password, &db::Database::defaultPassword);
  QString fullName = databaseName;
  if (!server.isEmpty()) {
    QString path = databaseName;
    if (!driveLetter.isEmpty() && !path.isEmpty()) path = driveLetter + path.mid(1);
    fullName = server + ':' + path;
  }
  try {
    database.attach(fullName, name, secret);
    return true;
  } catch (const db::DbError&) {
  }
  if (whenMissing == WhenMissing::Fail) return false;
  try {
    database.create(fullName, name, secret, 4096);
  } catch (const db::DbError&) {
    return false;
  }
  ui::plain(QStringLiteral("Effettuata creazione data base"));
  return true;
}

NetworkPath TraduciPercorsoRete(const QString& uncDirectory, const QString& serverDirectory) {
  NetworkPath result;
  const QString rest = uncDirectory.mid(2);
  const int afterServer = rest.indexOf('\\');
  const QString server = afterServer < 0 ? rest : rest.left(afterServer);
  const QString remainder = afterServer < 0 ? QString() : rest.mid(afterServer + 1);
  const int afterShare = remainder.indexOf('\\');
  const QString share = afterShare < 0 ? remainder : remainder.left(afterShare);

  if (share.size() < 2) {
    result.path = server + ':' + remainder;
    const int backslash = result.path.indexOf('\\');
    if (backslash >= 0) result.path.insert(backslash, ':');
    return result;
  }
  result.namedShare = true;
  if (!serverDirectory.isEmpty()) {
    result.path = server + ':' + serverDirectory;
    return result;
  }
  ui::plain(QStringLiteral("Attenzione: il disco con gli archivi è stato condiviso in rete con un "
                           "nome - ") +
            share +
            QStringLiteral(" - e non con la lettera che lo identifica. Si consiglia di correggere "
                           "la condivisione oppure ") +
            QStringLiteral("di correggere manualmente la sezione Percorso Nel Server nel file "
                           "Dati.ini accanto al database"));
  result.error = true;
  return result;
}

ServerAnswer ChiediServer(const QString& directory, QWidget* owner) {
  const core::IniFile ini(directory + QStringLiteral("dati.ini"));
  ServerAnswer answer{ini.read(kSection, QStringLiteral("Nome Server")),
                      ini.read(kSection, QStringLiteral("Lettera Disco Server"))};
  if (!answer.server.isEmpty()) return answer;

  ui::plain(QStringLiteral("Non trovato dati.ini"));
  TDorviIn2Form dialog(owner);
  dialog.setWindowTitle(QStringLiteral("Non trovato dati.ini"));
  QLabel* label = dialog.Label1();
  QLineEdit* computer = dialog.Edit1();
  QLineEdit* letter = dialog.Edit2();
  label->setText(
      QStringLiteral("Inserire il nome del computer e la lettera della sua\r\nunità "
                     "disco dove risulta ospitato (o sarà ospitato) il database"));
  label->setFont(QFont(QStringLiteral("Arial"), 8, QFont::Normal));
  label->move(label->x(), label->y() - 10);
  computer->clear();
  letter->setText(answer.driveLetter);
  if (ui::runDialog(dialog) != 1) return answer;

  answer.server = computer->text();
  answer.driveLetter = letter->text();
  ini.write(kSection, QStringLiteral("Nome Server"), answer.server);
  if (!answer.driveLetter.isEmpty())
    ini.write(kSection, QStringLiteral("Lettera Disco Server"), answer.driveLetter);
  return answer;
}

bool ApriDatabase(db::Database& database, const QString& directory, const QString& fileName,
                  const QString& user, const QString& password, QWidget* owner,
                  WhenMissing whenMissing) {
  const QString file = fileName.isEmpty() ? QStringLiteral("archivio.fdb") : fileName;
  if (!isLocalOrUncDirectory(directory)) {
    // "server:path" (or a relative name): there is no folder of this machine
    // to hold dati.ini, and nothing to ask.
    return AttivaDatabase(database, directory + file, {}, {}, user, password, whenMissing);
  }
  const core::IniFile ini(directory + QStringLiteral("dati.ini"));
  const QString server = ini.read(kSection, QStringLiteral("Nome Server"));
  const QString alias = ini.read(kSection, QStringLiteral("Alias"));

  if (!server.isEmpty() && !alias.isEmpty() &&
      AttivaDatabase(database, server + ':' + alias, {}, {}, user, password, whenMissing))
    return true;

  const QString serverDirectory = ini.read(kSection, QStringLiteral("PercorsoDatabase"));
  if (!serverDirectory.isEmpty()) {
    QString path = QStringLiteral("\\\\") + server + '\\' + serverDirectory;
    if (!path.endsWith('\\')) path.append('\\');
    return AttivaDatabase(database, path + file, {}, {}, user, password, whenMissing);
  }

  NetworkPath network{directory, false, false};
  if (directory.contains(QStringLiteral("\\\\")))
    network =
        TraduciPercorsoRete(directory, ini.read(kSection, QStringLiteral("Percorso Nel Server")));
  bool connected = false;
  if (!network.error)
    connected = AttivaDatabase(database, network.path + file, {}, {}, user, password, whenMissing);
  if (!connected && !network.error && network.namedShare) {
    ui::plain(
        QStringLiteral("Errore: nonostante le configurazioni, il particolare percorso di rete "
                       "sta rendendo impossibile l'attivazione del database"));
    network.error = true;
  }
  if (!connected && !network.error) {
    const ServerAnswer answer = ChiediServer(directory, owner);
    if (!answer.server.isEmpty())
      connected = AttivaDatabase(database, network.path + file, answer.server, answer.driveLetter,
                                 user, password, whenMissing);
    else
      ui::plain(QStringLiteral("Apertura / creazione del database non riuscita!"));
  }
  return connected;
}

}  // namespace env
