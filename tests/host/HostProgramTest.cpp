#include <gtest/gtest.h>
#include <signal.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "support/FirebirdFixture.h"

namespace {

struct Result {
  int exitCode;
  QString output;
};

// Runs the orbelan program offscreen, without the test's own host settings.
Result runHost(const QStringList& arguments, const QMap<QString, QString>& extra = {},
               bool display = true) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("ORBELAN_HOST_DIR");
  environment.remove("DISPLAY");
  environment.remove("WAYLAND_DISPLAY");
  if (display)
    environment.insert("QT_QPA_PLATFORM", "offscreen");
  else
    environment.remove("QT_QPA_PLATFORM");
  for (auto it = extra.begin(); it != extra.end(); ++it) environment.insert(it.key(), it.value());
  process.setProcessEnvironment(environment);
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(ORBELAN_HOST_PROGRAM, arguments);
  if (!process.waitForFinished(60000)) {
    ADD_FAILURE() << "did not finish";
    process.kill();
    process.waitForFinished();
  }
  return {process.exitCode(), QString::fromLocal8Bit(process.readAll())};
}

QString readOneFromFile(const QString& file, const QString& statement) {
  db::Database database;
  database.attach(file, "SYSDBA", "masterkey");
  return readOne(database, statement);
}

TEST(HostProgram, DemoSetsUpAnInstallationOnceAndOpensTheLabelWindow) {
  QTemporaryDir dir;
  const QString demo = dir.filePath("demo");
  const QString picture = dir.filePath("label.png");
  Result first = runHost({"demo", demo, "--screenshot", picture});
  ASSERT_EQ(first.exitCode, 0) << first.output.toStdString();
  EXPECT_TRUE(first.output.contains("Creating the demo archive"));
  EXPECT_FALSE(QImage(picture).isNull()) << "the label window was shown";
  for (const char* path : {"user/user.fdb", "dati/archivio.fdb", "bin/Report/ETICHETTA.LBL",
                           "bin/Report/ETICHETTA_EAN.LBL", "Grafica"})
    EXPECT_TRUE(QFileInfo::exists(demo + "/" + path)) << path;
  EXPECT_EQ(
      readOneFromFile(demo + "/user/user.fdb",
                      "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='TABSCRIPT'"),
      "1")
      << "the library made its script table";

  Result again = runHost({"demo", demo, "--screenshot", picture});
  ASSERT_EQ(again.exitCode, 0) << again.output.toStdString();
  EXPECT_FALSE(again.output.contains("Creating")) << "an existing installation is reused";
}

TEST(HostProgram, OpenCallsAnExportAndTheHostLogGetsTheWindowHandle) {
  QTemporaryDir dir;
  ASSERT_EQ(runHost({"demo", dir.path(), "--screenshot", dir.filePath("a.png")}).exitCode, 0);
  const Result opened = runHost({"open", "ShowRistampaBarcodeFormX", "--user", "1", "--window-id",
                                 "9", "--screenshot", dir.filePath("b.png")},
                                {{"ORBELAN_HOST_DIR", dir.path()}});
  ASSERT_EQ(opened.exitCode, 0) << opened.output.toStdString();
  EXPECT_FALSE(QImage(dir.filePath("b.png")).isNull());
  EXPECT_NE(
      readOneFromFile(dir.filePath("user/user.fdb"),
                      "SELECT COALESCE(HANDLEFINESTRA,'') FROM ZELMILOGFUNZ WHERE IDFINESTRA=9"),
      "");
}

// Starts the orbelan program offscreen and waits until its window is up.
class RunningHost {
 public:
  RunningHost(const QString& hostDir, const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ORBELAN_HOST_DIR", hostDir);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(ORBELAN_HOST_PROGRAM, arguments);
    EXPECT_TRUE(process_.waitForStarted());
    // The window is shown well within this; the program must not end by itself.
    EXPECT_FALSE(process_.waitForFinished(2500)) << output().toStdString();
  }
  ~RunningHost() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished();
    }
  }
  // Sends the signal; true when the program then ended by itself in time.
  bool endsOn(int signal) {
    ::kill(static_cast<pid_t>(process_.processId()), signal);
    return process_.waitForFinished(5000);
  }
  QString output() { return QString::fromLocal8Bit(process_.readAll()); }
  QProcess process_;
};

TEST(HostProgram, EndsInOrderOnTerminationSignals) {
  QTemporaryDir dir;
  ASSERT_EQ(runHost({"demo", dir.path(), "--screenshot", dir.filePath("a.png")}).exitCode, 0);
  const QString tables =
      "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME STARTING WITH 'TMP_ST_USER'";
  {
    // The decoded reprint keeps a table of its own while it is open and drops
    // it when it closes.
    RunningHost reprint(dir.path(),
                        {"open", "ShowRistampaBarcode1FormX", "--user", "1", "--window-id", "3"});
    for (int i = 0; i < 300 && readOneFromFile(dir.filePath("dati/archivio.fdb"), tables) != "1";
         ++i)
      QThread::msleep(100);
    EXPECT_EQ(readOneFromFile(dir.filePath("dati/archivio.fdb"), tables), "1");
    ASSERT_TRUE(reprint.endsOn(SIGTERM)) << "SIGTERM";
    EXPECT_EQ(reprint.process_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(reprint.process_.exitCode(), 128 + SIGTERM);
    EXPECT_EQ(readOneFromFile(dir.filePath("dati/archivio.fdb"), tables), "0")
        << "the window was closed, not cut off";
  }
  {
    RunningHost demo(dir.path(), {"demo", dir.path()});
    ASSERT_TRUE(demo.endsOn(SIGINT)) << "SIGINT";
    EXPECT_EQ(demo.process_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(demo.process_.exitCode(), 128 + SIGINT);
  }
}

TEST(HostProgram, ProcessesShareTheEmbeddedDatabases) {
  QTemporaryDir dir;
  ASSERT_EQ(runHost({"demo", dir.path(), "--screenshot", dir.filePath("a.png")}).exitCode, 0);
  // Two host programs of one user, each with a window on both databases.
  RunningHost labels(dir.path(), {"open", "ShowGestEticFormD", "--user", "1"});
  RunningHost launches(dir.path(), {"open", "ShowExportLanciFormD", "--user", "1"});
  ASSERT_EQ(launches.process_.state(), QProcess::Running) << launches.output().toStdString();

  const QString acquisitions = "SELECT COUNT(*) FROM ACQUISIZIONI";
  const int before = readOneFromFile(dir.filePath("dati/archivio.fdb"), acquisitions).toInt();
  QFile file(dir.filePath("nuove.txt"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("P1;D1;N001\r\nP2;D2;N002\r\n");
  file.close();
  const Result imported =
      runHost({"import", "--user", "1", file.fileName()}, {{"ORBELAN_HOST_DIR", dir.path()}});
  EXPECT_EQ(imported.exitCode, 0) << imported.output.toStdString();
  EXPECT_TRUE(imported.output.contains("Imported 2 labels")) << imported.output.toStdString();
  // And this process too, beside them.
  EXPECT_EQ(readOneFromFile(dir.filePath("dati/archivio.fdb"), acquisitions).toInt(), before + 1);
  EXPECT_TRUE(labels.endsOn(SIGTERM));
  EXPECT_TRUE(launches.endsOn(SIGTERM));
}

TEST(HostProgram, ScreenshotOfTheModalPrintSettingsWindow) {
  QTemporaryDir dir;
  ASSERT_EQ(runHost({"demo", dir.path(), "--screenshot", dir.filePath("a.png")}).exitCode, 0);
  const Result settings =
      runHost({"open", "ShowImpoStampaFormD", "--user", "1", "--screenshot", dir.filePath("s.png")},
              {{"ORBELAN_HOST_DIR", dir.path()}});
  EXPECT_EQ(settings.exitCode, 0) << settings.output.toStdString();
  EXPECT_FALSE(QImage(dir.filePath("s.png")).isNull()) << "taken while the window ran modally";
}

TEST(HostProgram, ExplainsWhatIsMissing) {
  QTemporaryDir dir;
  const Result noDisplay = runHost({"demo", dir.path()}, {}, false);
  EXPECT_EQ(noDisplay.exitCode, 2);
  EXPECT_TRUE(noDisplay.output.contains("xvfb-run -a")) << noDisplay.output.toStdString();
  EXPECT_EQ(
      runHost({"open", "ShowNothing", "--user", "1"}, {{"ORBELAN_HOST_DIR", dir.path()}}).exitCode,
      1);
  EXPECT_EQ(runHost({"open", "ShowGestEticFormD", "--user", "uno"}).exitCode, 2);
  EXPECT_EQ(runHost({"frobnicate"}).exitCode, 2);
}

}  // namespace
