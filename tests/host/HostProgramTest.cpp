#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

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
  EXPECT_TRUE(process.waitForFinished(60000));
  return {process.exitCode(), QString::fromLocal8Bit(process.readAll())};
}

QString readOne(const QString& file, const QString& statement) {
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
  EXPECT_EQ(readOne(demo + "/user/user.fdb",
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
  EXPECT_NE(readOne(dir.filePath("user/user.fdb"),
                    "SELECT COALESCE(HANDLEFINESTRA,'') FROM ZELMILOGFUNZ WHERE IDFINESTRA=9"),
            "");
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
