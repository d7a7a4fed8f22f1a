#include <gtest/gtest.h>
#include <signal.h>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <functional>
#include <iostream>

#include "db/Database.h"
#include "host/HostProgramRun.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"
#include "support/TestFiles.h"

namespace {

using testfiles::contents;
using testfiles::entries;
using testfiles::writeFile;

// A view whose first row comes at once and whose second would take hours (a
// triple cross join that keeps one row), and a table of many short rows for
// prints of many pages.
class StoppingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db::Database database;
    host_.openArchive(database);
    runStatement(database, "CREATE TABLE NUMERI (ID INTEGER, TESTO VARCHAR(40))");
    runStatement(database,
                 "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 10000) DO BEGIN "
                 "INSERT INTO NUMERI (ID,TESTO) VALUES (:I,'riga '||:I); I = I + 1; END END");
    runStatement(database,
                 "CREATE VIEW LUNGA (ID) AS SELECT A.ID FROM NUMERI A CROSS JOIN NUMERI B "
                 "CROSS JOIN NUMERI C WHERE A.ID + B.ID + C.ID < 1");
  }

  QString archiveValue(const QString& statement) const {
    db::Database database;
    host_.openArchive(database);
    return readOne(database, statement);
  }

  // Waits, with a generous bound, until the process has opened `statements`
  // statements on the view and one of them runs.
  bool runningTheLongStatement(QProcess& process, int statements) const {
    const QString opened =
        "SELECT COUNT(*) || ' ' || SUM(IIF(MON$STATE = 1, 1, 0)) FROM MON$STATEMENTS WHERE "
        "MON$STATE > 0 AND MON$ATTACHMENT_ID <> CURRENT_CONNECTION AND "
        "MON$SQL_TEXT CONTAINING 'LUNGA'";
    return waitFor(process, [&] {
      const QStringList counts = archiveValue(opened).split(' ');
      return counts.value(0).toInt() >= statements && counts.value(1).toInt() >= 1;
    });
  }

  static bool waitFor(QProcess& process, const std::function<bool()>& sign) {
    QDeadlineTimer deadline(90000);
    if (!process.waitForStarted()) return false;
    while (!sign()) {
      if (process.state() != QProcess::Running || deadline.hasExpired()) return false;
      QThread::msleep(20);
    }
    return true;
  }

  // Sends the signal and waits for the end: the milliseconds it took, or -1
  // when the program did not end by itself within ten seconds.
  static qint64 endsOn(QProcess& process, int signal) {
    QElapsedTimer timer;
    timer.start();
    ::kill(static_cast<pid_t>(process.processId()), signal);
    if (!process.waitForFinished(10000)) {
      process.kill();
      process.waitForFinished();
      return -1;
    }
    std::cout << "[ ended " << timer.elapsed() << " ms after signal " << signal << " ]\n";
    return timer.elapsed();
  }

  HostInstallation host_;
};

TEST_F(StoppingTest, ALongQueryIsCancelledOnTheDatabaseAndEndsWithTheSignalsStatus) {
  QTemporaryDir out;
  const QString csv = out.filePath("numeri.txt");
  writeFile(csv, "vecchio");
  const QStringList query{"query", "--user", "1", "--table", "LUNGA"};
  // The answer's first row is read; an export then reads it again through a
  // statement of its own (the spreadsheet library over its own connection).
  const struct {
    QStringList arguments;
    int signal;
    int statements;
  } runs[] = {
      {query + QStringList{"--run"}, SIGINT, 1},
      {query + QStringList{"--run"}, SIGTERM, 1},
      {query + QStringList{"--export", csv, "--type", "Testo"}, SIGINT, 2},
      {query + QStringList{"--export", csv, "--type", "Excel"}, SIGTERM, 2},
      {query + QStringList{"--print-pdf", out.filePath("a.pdf")}, SIGTERM, 1},
      {query + QStringList{"--print-pdf", out.filePath("a.pdf"), "--print-type", "2"}, SIGINT, 1}};
  for (const auto& run : runs) {
    SCOPED_TRACE(run.arguments.join(' ').toStdString());
    QProcess process;
    startOrbelan(process, run.arguments);
    ASSERT_TRUE(runningTheLongStatement(process, run.statements))
        << process.readAllStandardError().toStdString();
    const qint64 took = endsOn(process, run.signal);
    ASSERT_GE(took, 0) << "the statement was not cancelled";
    EXPECT_LT(took, 5000);
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
    EXPECT_EQ(process.exitCode(), 128 + run.signal) << errors.toStdString();
    EXPECT_TRUE(errors.contains("stopped by a termination signal")) << errors.toStdString();
    EXPECT_EQ(contents(csv), "vecchio");
    EXPECT_EQ(entries(out.path()), QStringList{"numeri.txt"}) << "nothing left behind";
  }
}

TEST_F(StoppingTest, APrintStoppedWhileItsPagesArePaintedKeepsTheOlderPdf) {
  QTemporaryDir out;
  const QString pdf = out.filePath("numeri.pdf");
  ASSERT_EQ(
      runOrbelan({"query", "--user", "1", "--table", "LANCISTAMPA", "--print-pdf", pdf}).exitCode,
      0);
  const QByteArray older = contents(pdf);
  ASSERT_TRUE(older.startsWith("%PDF"));
  for (const char* type : {"0", "1"}) {
    SCOPED_TRACE(type);
    QProcess process;
    startOrbelan(process, {"query", "--user", "1", "--table", "NUMERI", "--print-pdf", pdf,
                           "--print-type", type});
    // The pages are being painted once the hidden temporary PDF is there.
    ASSERT_TRUE(waitFor(process, [&] { return entries(out.path()).size() > 1; }))
        << process.readAllStandardError().toStdString();
    const qint64 took = endsOn(process, SIGTERM);
    ASSERT_GE(took, 0);
    EXPECT_EQ(process.exitCode(), 128 + SIGTERM) << process.readAllStandardError().toStdString();
    EXPECT_EQ(contents(pdf), older) << "the older PDF is kept whole";
    EXPECT_EQ(entries(out.path()), QStringList{"numeri.pdf"}) << "no temporary file is left";
  }
}

TEST_F(StoppingTest, TheDesignerEndsOnATerminationSignalAndLetsItsConnectionsGo) {
  const QString others =
      "SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION "
      "AND MON$SYSTEM_FLAG = 0";
  for (const int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    process.start(ORBELAN_HOST_PROGRAM, {"designer", "--user", "1", "--table", "NUMERI"});
    // The designer is open once it holds its own connection beside the
    // environment's.
    ASSERT_TRUE(waitFor(process, [&] { return archiveValue(others).toInt() >= 2; }))
        << process.readAllStandardError().toStdString();
    ASSERT_GE(endsOn(process, signal), 0) << "the designer did not end";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 128 + signal) << process.readAllStandardError().toStdString();
    EXPECT_EQ(archiveValue(others), "0");
  }
}

}  // namespace
