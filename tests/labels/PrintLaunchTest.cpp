#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/Paths.h"
#include "db/Query.h"
#include "env/TabX.h"
#include "labels/PrintLaunch.h"
#include "platform/reports/LabelEngine.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"
#include "support/ScriptedUi.h"

namespace {

const QStringList kSnapshotNoWait{"isc_tpb_concurrency", "isc_tpb_nowait"};

// What the label window holds for a launch: its environment and its own
// no-wait transaction on the archive.
struct LabelWindowState {
  LabelWindowState(const HostInstallation& host, const QString& archive)
      : env(nullptr, TTabXForm::ModoDatabase), transaction(env.IBDatabase1, kSnapshotNoWait) {
    env.SetUserPerNum(1);
    env.Inserisci("QZV", "BinDir", "", host.binDir(), "", "", "", "", "1");
    env.Inserisci("QZV", "Archivio", "", archive, "", "", "", "", "1");
    env.Inserisci("LBL", "ETICHETTALBL", "", host.binDir() + "Report\\ETICHETTA.LBL", "", "", "",
                  "", "1");
    EXPECT_TRUE(env.ConnettiDatabase1("Archivio"));
    transaction.start();
  }
  TTabXForm env;
  db::Transaction transaction;
};

class PrintLaunchTest : public ::testing::Test {
 protected:
  PrintLaunchTest() : guard_(prompter_) {}
  QStringList unprintedIds(TTabXForm& env, int count) {
    QStringList ids;
    db::Transaction transaction(env.IBDatabase1);
    db::Query query(env.IBDatabase1, transaction);
    query.sql
        << QStringLiteral(
               "SELECT FIRST %1 ID FROM ETICHETTE WHERE IDLANCIOSTAMPA IS NULL ORDER BY ID DESC")
               .arg(count);
    for (query.open(); !query.isEof(); query.next()) ids << query.text("ID");
    return ids;
  }
  QString launchOf(TTabXForm& env, const QString& id) {
    return readOne(env.IBDatabase1,
                   "SELECT COALESCE(IDLANCIOSTAMPA,0) FROM ETICHETTE WHERE ID=" + id);
  }
  HostInstallation host_;
  ScriptedPrompter prompter_;
  ScopedPrompter guard_;
};

TEST_F(PrintLaunchTest, ThreeLabelsPrintInSelectionOrderAndJoinTheLaunch) {
  LabelWindowState window(host_, host_.archive());
  const QStringList ids = unprintedIds(window.env, 3);
  labels::PrintLaunch launch(window.env, window.transaction, ids, {});
  QList<QStringList> statements;
  db::setStatementObserver([&](const QStringList& lines) { statements << lines; });
  ASSERT_TRUE(launch.apriLancio("Lancio dell'inverno", QDate(2024, 12, 20)));
  db::setStatementObserver(nullptr);
  EXPECT_EQ(statements.last(), (QStringList{"INSERT INTO LANCISTAMPA (ID,DATA,NOTE) VALUES(",
                                            "'" + launch.IdLancio() + "',", "'12/20/2024',",
                                            QString::fromUtf8("'Lancio dell´inverno')")}));

  platform::reports::LabelEngine engine;
  QList<int> progress;
  QStringList codes;
  bool last = false;
  engine.setDefineVariablesHandler([&](platform::reports::DefineVariablesEvent& event) {
    launch.defineVariables(engine, event);
    progress << event.progress;
    codes << engine.variables().value("CodiceBarre");
    last = event.lastRecord;
  });
  QTemporaryDir dir;
  const int result = engine.printToPdf(0, launch.projectFile(), dir.filePath("lancio.pdf"));
  EXPECT_EQ(result, platform::reports::Completed) << engine.lastError().toStdString();
  EXPECT_EQ(progress, (QList<int>{0, 33, 67}));
  EXPECT_TRUE(last);
  EXPECT_EQ(codes.size(), 3);

  const labels::PrintLaunch::Result done = launch.concludi(engine.labelsPrinted());
  EXPECT_EQ(done.outcome, labels::PrintLaunch::Outcome::Printed);
  EXPECT_EQ(done.printed, 3);
  for (const QString& id : ids) EXPECT_EQ(launchOf(window.env, id), launch.IdLancio());
  EXPECT_EQ(
      readOne(window.env.IBDatabase1, "SELECT NOTE FROM LANCISTAMPA WHERE ID=" + launch.IdLancio()),
      QString::fromUtf8("Lancio dell´inverno"));
}

TEST_F(PrintLaunchTest, ACancelledPrintLeavesNoLaunchAndAnInterruptedOneKeepsWhatPrinted) {
  LabelWindowState window(host_, host_.archive());
  const QStringList ids = unprintedIds(window.env, 3);
  {
    labels::PrintLaunch launch(window.env, window.transaction, ids, {});
    ASSERT_TRUE(launch.apriLancio(""));
    const QString id = launch.IdLancio();
    EXPECT_EQ(launch.concludi(0).outcome, labels::PrintLaunch::Outcome::NothingPrinted);
    EXPECT_EQ(readOne(window.env.IBDatabase1, "SELECT COUNT(*) FROM LANCISTAMPA WHERE ID=" + id),
              "0");
  }
  labels::PrintLaunch launch(window.env, window.transaction, ids, {});
  ASSERT_TRUE(launch.apriLancio("parziale"));
  platform::reports::LabelEngine engine;
  for (int i = 0; i < 3; ++i) {
    platform::reports::DefineVariablesEvent event;
    launch.defineVariables(engine, event);
  }
  // The engine stopped after printing the first label.
  const labels::PrintLaunch::Result done = launch.concludi(1);
  EXPECT_EQ(done.outcome, labels::PrintLaunch::Outcome::Printed);
  EXPECT_EQ(done.printed, 1);
  EXPECT_EQ(done.selected, 3);
  EXPECT_EQ(launchOf(window.env, ids[0]), launch.IdLancio());
  EXPECT_EQ(launchOf(window.env, ids[1]), "0") << "not printed: back in the list";
  EXPECT_EQ(launchOf(window.env, ids[2]), "0");
}

TEST_F(PrintLaunchTest, ALabelPrintedMeanwhileIsSkippedAndReported) {
  LabelWindowState first(host_, host_.archive());
  LabelWindowState second(host_, host_.archive());
  const QStringList ids = unprintedIds(first.env, 2);

  labels::PrintLaunch other(second.env, second.transaction, {ids[1]}, {});
  ASSERT_TRUE(other.apriLancio("altro"));
  platform::reports::LabelEngine engine;
  platform::reports::DefineVariablesEvent event;
  other.defineVariables(engine, event);
  ASSERT_EQ(other.concludi(1).outcome, labels::PrintLaunch::Outcome::Printed);

  labels::PrintLaunch launch(first.env, first.transaction, ids, {});
  ASSERT_TRUE(launch.apriLancio("mio"));
  QList<int> results;
  for (int i = 0; i < 2; ++i) {
    platform::reports::DefineVariablesEvent each;
    launch.defineVariables(engine, each);
    results << each.eventResult;
  }
  EXPECT_EQ(results, (QList<int>{platform::reports::PrintRecord, platform::reports::SkipRecord}));
  const labels::PrintLaunch::Result done = launch.concludi(1);
  EXPECT_EQ(done.printed, 1);
  EXPECT_EQ(done.alreadyPrinted, QStringList{ids[1]});
  EXPECT_EQ(launchOf(first.env, ids[1]), other.IdLancio()) << "never stamped a second time";
}

TEST_F(PrintLaunchTest, TwoUsersLaunchingOverlappingSelectionsOnAServer) {
  REQUIRE_TEST_SERVER();
  const QString archive = testServer() + ":" + host_.archive();
  LabelWindowState first(host_, archive);
  LabelWindowState second(host_, archive);
  ASSERT_TRUE(first.env.IBDatabase1.isConnected() && second.env.IBDatabase1.isConnected());
  const QStringList ids = unprintedIds(first.env, 3);

  labels::PrintLaunch a(first.env, first.transaction, {ids[0], ids[1]}, {});
  labels::PrintLaunch b(second.env, second.transaction, {ids[2], ids[1]}, {});
  ASSERT_TRUE(a.apriLancio("A"));
  ASSERT_TRUE(b.apriLancio("B"));
  platform::reports::LabelEngine engine;
  for (int i = 0; i < 2; ++i) {
    platform::reports::DefineVariablesEvent ea;
    a.defineVariables(engine, ea);
    platform::reports::DefineVariablesEvent eb;
    b.defineVariables(engine, eb);
  }
  const labels::PrintLaunch::Result resultB = b.concludi(2);
  const labels::PrintLaunch::Result resultA = a.concludi(2);
  EXPECT_EQ(resultA.outcome, labels::PrintLaunch::Outcome::Printed);
  EXPECT_EQ(resultB.outcome, labels::PrintLaunch::Outcome::Conflict)
      << "the one meeting the lock is undone";
  EXPECT_EQ(launchOf(first.env, ids[1]), a.IdLancio());
  EXPECT_EQ(launchOf(first.env, ids[2]), "0") << "B's own label is back in the list";
  EXPECT_EQ(
      readOne(first.env.IBDatabase1, "SELECT COUNT(*) FROM LANCISTAMPA WHERE ID=" + b.IdLancio()),
      "0");
}

TEST_F(PrintLaunchTest, AFailedLaunchRowSavesItsStatement) {
  LabelWindowState window(host_, host_.archive());
  runStatement(window.env.IBDatabase1,
               "ALTER TABLE LANCISTAMPA ADD CONSTRAINT NESSUN_LANCIO CHECK (ID < 0)");
  labels::PrintLaunch launch(window.env, window.transaction, {"1"}, {});
  EXPECT_FALSE(launch.apriLancio("x"));
  const QString file = host_.binDir() + "GestEticForm.Lancio.sql";
  EXPECT_EQ(prompter_.texts(), QStringList{"Errore interno di INSERT: impossibile effettuare il "
                                           "lancio stampa. Controllare il file: \"" +
                                           file + "\""});
  QFile saved(core::nativePath(file));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_TRUE(saved.readAll().startsWith("INSERT INTO LANCISTAMPA (ID,DATA,NOTE) VALUES(\r\n"));
}

TEST_F(PrintLaunchTest, APdfThatCannotTakeItsNameAfterTheCommitWithdrawsTheLaunch) {
  LabelWindowState window(host_, host_.archive());
  const QStringList ids = unprintedIds(window.env, 2);
  labels::PrintLaunch launch(window.env, window.transaction, ids, {});
  ASSERT_TRUE(launch.apriLancio("ritirato"));
  platform::reports::LabelEngine engine;
  engine.setDefineVariablesHandler([&](platform::reports::DefineVariablesEvent& event) {
    launch.defineVariables(engine, event);
  });
  engine.setHoldOutput(true);
  QTemporaryDir dir;
  const QString pdf = dir.filePath("lancio.pdf");
  ASSERT_EQ(engine.printToPdf(0, launch.projectFile(), pdf), platform::reports::Completed);
  // Meanwhile a folder took the file's name: the rename after the commit fails.
  ASSERT_TRUE(QDir(dir.path()).mkdir("lancio.pdf"));

  const labels::PrintLaunch::Result done = launch.concludi(engine);
  EXPECT_EQ(done.outcome, labels::PrintLaunch::Outcome::Failed);
  EXPECT_EQ(done.printed, 0);
  EXPECT_TRUE(done.error.startsWith("Impossibile scrivere il file PDF " + pdf))
      << done.error.toStdString();
  for (const QString& id : ids) EXPECT_EQ(launchOf(window.env, id), "0") << "back in the list";
  EXPECT_EQ(readOne(window.env.IBDatabase1,
                    "SELECT COUNT(*) FROM LANCISTAMPA WHERE ID=" + launch.IdLancio()),
            "0");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"lancio.pdf"});
}

}  // namespace
