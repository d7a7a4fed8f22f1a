#include "HostCommands.h"

#include <dlfcn.h>

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "BatchSession.h"
#include "ConsolePrompter.h"
#include "DemoData.h"
#include "DemoLabels.h"
#include "DemoReports.h"
#include "HostSchema.h"
#include "Usage.h"
#include "core/Dates.h"
#include "core/IniFile.h"
#include "core/Paths.h"
#include "core/SqlText.h"
#include "core/TerminationSignals.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "entry/Ambiente.h"
#include "env/SiblingLibrary.h"
#include "env/TabX.h"
#include "labels/CheckTabEtic.h"
#include "labels/ImportaEtichette.h"

namespace host {

namespace {

const QString kUser = QStringLiteral("SYSDBA");
const QString kPassword = QStringLiteral("masterkey");

QStringList& programArguments() {
  static QStringList arguments;
  return arguments;
}

void say(const QString& text) {
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

struct OpenRequest {
  QString exportName;
  int user = 0;
  std::optional<int> windowId;
  QString screenshot;
};

// Options after the command: --user N, --window-id ID, --screenshot FILE.
std::optional<OpenRequest> parseOptions(QStringList arguments, OpenRequest request) {
  while (!arguments.isEmpty()) {
    const QString option = arguments.takeFirst();
    if (arguments.isEmpty()) return std::nullopt;
    const QString value = arguments.takeFirst();
    bool ok = true;
    if (option == QLatin1String("--user"))
      request.user = value.toInt(&ok);
    else if (option == QLatin1String("--window-id"))
      request.windowId = value.toInt(&ok);
    else if (option == QLatin1String("--screenshot"))
      request.screenshot = value;
    else
      return std::nullopt;
    if (!ok) return std::nullopt;
  }
  return request;
}

bool hasDisplay() {
  return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
         !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// libOrbelan in the library folder of this program's installation (or
// ORBELAN_LIBRARY_DIR), as the host finds the DLL beside itself.
QString libraryPath() {
  return env::libraryDirectory() + QStringLiteral("/libOrbelan.so");
}

void saveScreenshot(const QString& file) {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible()) continue;
    if (window->grab().save(file)) say(QStringLiteral("Screenshot: ") + file);
    return;
  }
  say(QStringLiteral("No window to take a screenshot of"));
}

bool anyWindowVisible() {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible()) return true;
  return false;
}

// Destroys the windows that have closed, and with them their environments:
// their connections end and open transactions are rolled back.
void releaseClosedWindows() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int openWindow(const OpenRequest& request) {
  if (!hasDisplay()) {
    say(QStringLiteral("No display is available to show the window.\n"
                       "Run it under a virtual X server, for example:\n"
                       "  xvfb-run -a ") +
        programArguments().join(' '));
    return 2;
  }
  const QByteArray path = libraryPath().toLocal8Bit();
  void* library = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    say(QStringLiteral("Cannot load ") + QString::fromLocal8Bit(path) + ": " +
        QString::fromLocal8Bit(dlerror()));
    return 1;
  }
  void* symbol = dlsym(library, request.exportName.toLatin1().constData());
  if (!symbol) {
    say(QStringLiteral("libOrbelan has no export ") + request.exportName);
    return 1;
  }
  // The host's application object, which the library uses: it exists before
  // the export is called, because the print settings window runs its modal
  // loop inside the call and the signals and the screenshot must reach it there.
  static int argc = 1;
  static char name[] = "orbelan";
  static char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  // Set once the program is to end: the export's own loop and the host's
  // both return, and the host's loop is not entered again.
  std::optional<int> ending;
  const auto finish = [&ending](int status) {
    if (ending) return;
    ending = status;
    QApplication::closeAllWindows();
    QCoreApplication::exit(status);  // every running loop, the modal one too
  };
  core::onTermination(&app, [&finish] { finish(128 + core::terminationSignal()); });
  if (!request.screenshot.isEmpty()) {
    QTimer::singleShot(800, &app, [&finish, file = request.screenshot] {
      saveScreenshot(file);
      finish(0);
    });
  }
  if (request.exportName.endsWith('X')) {
    using Entry = std::int32_t (*)(std::int32_t, std::int32_t);
    reinterpret_cast<Entry>(symbol)(request.user, request.windowId.value_or(0));
  } else {
    using Entry = std::int32_t (*)(std::int32_t);
    reinterpret_cast<Entry>(symbol)(request.user);
  }
  // The host's event loop drives the modeless windows until the last one
  // closes, a termination signal arrives or the screenshot is taken.
  int status = 0;
  if (!ending && anyWindowVisible()) status = app.exec();
  releaseClosedWindows();
  return ending.value_or(status);
}

QString storedDir(const QString& nativeDir) {
  return core::storedPath(QDir(nativeDir).absolutePath()) + '\\';
}

}  // namespace

void setProgramArguments(const QStringList& arguments) {
  programArguments() = arguments;
}

void ensureDemoInstallation(const QString& dir) {
  QDir root(dir);
  for (const char* sub : {"user", "bin/Report", "Grafica", "dati", "windows", "lavoro"})
    root.mkpath(sub);

  const QString archive = root.filePath(QStringLiteral("dati/archivio.fdb"));
  if (!QFileInfo::exists(archive)) {
    say(QStringLiteral("Creating the demo archive ") + archive);
    db::Database database;
    database.create(archive, kUser, kPassword);
    createArchiveSchema(database);
    fillArchiveDemo(database);
  }
  QString labelError;
  for (const QString& file :
       installDemoLabelProjects(root.filePath(QStringLiteral("bin/Report")), &labelError))
    say(QStringLiteral("Writing the demo label project ") + file);
  if (!labelError.isEmpty()) say(labelError);
  QString reportError;
  if (!installDemoReports(root.filePath(QStringLiteral("bin/report")), &reportError).isEmpty())
    say(QStringLiteral("Writing the demo chart reports into ") +
        root.filePath(QStringLiteral("bin/report")));
  if (!reportError.isEmpty()) say(reportError);
  // The query designer's work tables (charts) live under its working
  // directory, a setting of the global settings file.
  const core::IniFile settingsFile(
      core::storedPath(root.filePath(QStringLiteral("windows/vandel.ini"))));
  const QString company = DemoSettings{}.company;
  if (settingsFile.read(company, QStringLiteral("Directory di lavoro"), {}).isEmpty())
    settingsFile.write(company, QStringLiteral("Directory di lavoro"),
                       storedDir(root.filePath(QStringLiteral("lavoro"))));
  const QString users = root.filePath(QStringLiteral("user/user.fdb"));
  if (!QFileInfo::exists(users)) {
    say(QStringLiteral("Creating the demo user database ") + users);
    db::Database database;
    database.create(users, kUser, kPassword);
    createUserSchema(database);
    DemoSettings settings;
    settings.binDir = storedDir(root.filePath(QStringLiteral("bin")));
    settings.archive = core::storedPath(QFileInfo(archive).absoluteFilePath());
    fillUserDemo(database, settings);
  }
}

void logWindowOpening(const QString& dir, int windowId, int user, const QString& exportName) {
  db::Database database;
  database.attach(QDir(dir).filePath(QStringLiteral("user/user.fdb")), kUser, kPassword);
  db::Transaction transaction(database);
  db::Query query(database, transaction);
  query.sql << QStringLiteral(
                   "UPDATE OR INSERT INTO ZELMILOGFUNZ (IDFINESTRA,UTENTE,FUNZIONE,DATAORA)")
            << QStringLiteral("VALUES (%1,%2,'%3',CURRENT_TIMESTAMP)")
                   .arg(windowId)
                   .arg(user)
                   .arg(core::sqlValue(exportName))
            << QStringLiteral("MATCHING (IDFINESTRA)");
  query.execSql();
  transaction.commit();
}

int runOpen(const QStringList& arguments) {
  if (arguments.isEmpty()) return wrongCommand(QStringLiteral("open"));
  OpenRequest base;
  base.exportName = arguments.first();
  const auto request = parseOptions(arguments.mid(1), base);
  if (!request) return wrongCommand(QStringLiteral("open"));
  if (request->windowId) {
    try {
      logWindowOpening(core::nativePath(core::hostDirectory()), *request->windowId, request->user,
                       request->exportName);
    } catch (const db::DbError& error) {
      say(QStringLiteral("Cannot write the window log: ") + error.text());
    }
  }
  return openWindow(*request);
}

int runDemo(const QStringList& arguments) {
  QStringList rest = arguments;
  QString dir = QDir::current().filePath(QStringLiteral("demo"));
  if (!rest.isEmpty() && !rest.first().startsWith(QLatin1String("--"))) dir = rest.takeFirst();
  OpenRequest base;
  base.exportName = QStringLiteral("ShowGestEticFormD");
  base.user = kDemoUser;
  const auto request = parseOptions(rest, base);
  if (!request) return wrongCommand(QStringLiteral("demo"));
  dir = QDir(dir).absolutePath();
  try {
    ensureDemoInstallation(dir);
  } catch (const db::DbError& error) {
    say(QStringLiteral("Cannot set up the demo installation: ") + error.text());
    return 1;
  }
  qputenv("ORBELAN_HOST_DIR", QFile::encodeName(dir));
  qputenv("ORBELAN_WINDOWS_DIR", QFile::encodeName(dir + QStringLiteral("/windows")));
  say(QStringLiteral("Demo installation: ") + dir);
  return openWindow(*request);
}

namespace {

struct ImportRequest {
  int user = 0;
  QString file;
};

// `--user N FILE`, in any order.
std::optional<ImportRequest> parseImport(QStringList arguments) {
  ImportRequest request;
  bool haveUser = false;
  while (!arguments.isEmpty()) {
    const QString argument = arguments.takeFirst();
    if (argument == QLatin1String("--user")) {
      if (arguments.isEmpty()) return std::nullopt;
      bool ok = false;
      request.user = arguments.takeFirst().toInt(&ok);
      if (!ok) return std::nullopt;
      haveUser = true;
    } else if (argument.startsWith(QLatin1String("--")) || !request.file.isEmpty()) {
      return std::nullopt;
    } else {
      request.file = argument;
    }
  }
  if (!haveUser || request.file.isEmpty()) return std::nullopt;
  return request;
}

// The label window's import without the window: the environment a launch
// builds (user, bin directory, archive), the window's own transaction, the
// table upgrade the window runs when it opens, then the import itself.
int importLabels(BatchSession& session, const ImportRequest& request, const QString& file) {
  if (!session.open(request.user)) return 1;
  TTabXForm* ambiente = &session.ambiente();
  const QString archive = ambiente->GetV(QStringLiteral("Archivio"));
  const auto say = [&session](const QString& text) { session.say(text); };
  db::Transaction transaction(ambiente->IBDatabase1, {QStringLiteral("isc_tpb_concurrency"),
                                                      QStringLiteral("isc_tpb_nowait")});
  db::Query queryAux(ambiente->IBDatabase1, transaction);
  try {
    transaction.start();
    if (!db::tableExists(transaction, QStringLiteral("ETICHETTE"))) {
      say(QStringLiteral("the main database ") + archive +
          QStringLiteral(" has no label table ETICHETTE"));
      return 1;
    }
  } catch (const db::DbError& error) {
    say(error.text());
    return 1;
  }
  if (!labels::CheckTabEtic(queryAux)) return 1;
  const labels::ImportResult result =
      labels::ImportaEtichette(queryAux, ambiente->GetV(QStringLiteral("BinDir")), file);
  if (result.outcome != labels::ImportResult::Outcome::Imported) {
    if (!result.failureReason.isEmpty()) {
      QString where = result.failedLine > 0 ? QStringLiteral("line %1").arg(result.failedLine)
                                            : QStringLiteral("the import row ACQUISIZIONI");
      if (result.failedField > 0)
        where += QStringLiteral(", field %1 (%2)").arg(result.failedField).arg(result.failedColumn);
      say(where + QStringLiteral(" was refused by the database: ") + result.failureReason);
    }
    if (!result.failedStatementFile.isEmpty())
      say(QStringLiteral("the failed statement is in ") +
          core::nativePath(result.failedStatementFile));
    say(QStringLiteral("nothing was imported from ") + file);
    return 1;
  }
  say(QStringLiteral("Imported %1 labels from %2 (ACQUISIZIONI.ID %3)")
          .arg(result.labels)
          .arg(file, result.idAcquisizione));
  return 0;
}

}  // namespace

int runImport(const QStringList& arguments) {
  const auto request = parseImport(arguments);
  if (!request) return wrongCommand(QStringLiteral("import"));
  const QFileInfo info(request->file);
  if (!info.isFile() || !info.isReadable()) {
    say(QStringLiteral("orbelan import: cannot read the file ") + request->file);
    return 1;
  }
  // Nothing is shown, but the library's dialogs need an application object
  // even when they are answered without a screen.
  BatchSession session(QStringLiteral("orbelan import"));
  return importLabels(session, *request, info.absoluteFilePath());
}

}  // namespace host
