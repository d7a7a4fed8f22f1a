// Many users on one Firebird server at once. Four `orbelan` processes of two
// users (two each) import labels, print launches to PDF, run running-sum
// queries, export answers as text and workbooks, draw charts and print
// answers, for a bounded time, beside a connection that creates and drops
// tables all along. Then it checks what they left: no label printed in two
// launches, every PDF holding exactly the labels its launch stamped, every
// import whole or absent, no work table left in the archive, and no failure
// but an announced lock. It prints the operations per minute and the
// failures, and ends with status 0 when every check holds.
//
// The installation lives in a folder under ORBELAN_TEST_SERVER_DIR, its
// archive reached as ORBELAN_TEST_SERVER:/path (ISC_USER, ISC_PASSWORD).
// Usage: soak [--seconds N] (default 300)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "DemoData.h"
#include "DemoLabels.h"
#include "DemoReports.h"
#include "HostSchema.h"
#include "core/Paths.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace {

constexpr int kWorkers = 4;
constexpr int kLabelsPerImport = 12;
// The marker an imported label's description carries: K<worker>_<round>_<n>.
const QRegularExpression kMarker(QStringLiteral("K\\d+_\\d+_\\d+"));

// What one run of the program did.
struct Run {
  int worker = 0;
  QString operation;
  int exitCode = -1;
  QString errors;
};

// An import: its marker and whether the program said it imported.
struct Import {
  QString marker;
  bool done = false;
};

// A launch printed to a PDF.
struct Launch {
  QString id;
  QString pdf;
};

// Messages that tell of another user holding what was asked for: the work
// is refused, as it must be, and nothing is half done.
bool announcedLock(const Run& run) {
  return run.errors.contains(QStringLiteral("another user is printing")) ||
         run.errors.contains(QStringLiteral("there are no labels to print")) ||
         run.errors.contains(QStringLiteral("was printed by another launch or deleted meanwhile"));
}

class Soak {
 public:
  Soak(const QString& server, const QString& serverDir)
      : root_(serverDir + QStringLiteral("/soak-XXXXXX")), server_(server) {}

  bool setUp();
  void run(int seconds);
  // Prints the figures and every fault; true when every check holds.
  bool check();

 private:
  QString native(const QString& relative) const { return root_.filePath(relative); }
  QString archiveName() const {
    return server_ + u':' + native(QStringLiteral("dati/archivio.fdb"));
  }
  void work(int worker, const QElapsedTimer& clock, qint64 until);
  Run orbelan(int worker, const QString& operation, const QStringList& arguments);
  void writeRows(const QString& file) const;
  void changeTables(const std::atomic<bool>& stop);
  QStringList pdfMarkers(const QString& pdf) const;

  QTemporaryDir root_;
  QString server_;
  std::mutex mutex_;
  std::vector<Run> runs_;
  std::vector<Import> imports_;
  std::vector<Launch> launches_;
  int tableChanges_ = 0;
  int tableChangeConflicts_ = 0;
  QStringList tableChangeFailures_;
  double minutes_ = 0;
};

bool Soak::setUp() {
  if (!root_.isValid()) return false;
  QDir root(root_.path());
  for (const char* folder : {"user", "bin/Report", "dati", "Grafica", "windows", "out"})
    root.mkpath(QString::fromLatin1(folder));
  host::installDemoLabelProjects(native(QStringLiteral("bin/Report")));
  host::installDemoReports(native(QStringLiteral("bin/report")));
  db::Database user;
  user.create(native(QStringLiteral("user/user.fdb")), QStringLiteral("SYSDBA"),
              QStringLiteral("masterkey"));
  host::createUserSchema(user);
  host::DemoSettings settings;
  settings.binDir = core::storedPath(root_.path()) + QStringLiteral("\\bin\\");
  settings.archive = archiveName();
  host::fillUserDemo(user, settings);
  db::Database archive;
  archive.create(archiveName(), qEnvironmentVariable("ISC_USER"),
                 qEnvironmentVariable("ISC_PASSWORD"));
  host::createArchiveSchema(archive);
  host::fillArchiveDemo(archive);
  writeRows(native(QStringLiteral("somma.qry")));
  return true;
}

void Soak::writeRows(const QString& file) const {
  QFile rows(file);
  if (!rows.open(QIODevice::WriteOnly)) return;
  rows.write(
      "1\tID\t1\t(ID<=400)\n"
      "2\tCODICE\t1\t\n"
      "3\tDESCRIZIONE\t1\t(CALC (SOMMAPROG(ID,ID)) AS PROGR)\n"
      "4\tIDLANCIOSTAMPA\t1\t\n");
}

Run Soak::orbelan(int worker, const QString& operation, const QStringList& arguments) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("ORBELAN_HOST_DIR"), root_.path());
  environment.insert(QStringLiteral("ORBELAN_WINDOWS_DIR"), native(QStringLiteral("windows")));
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(ORBELAN_PROGRAM), arguments);
  Run run{worker, operation, -1, QString()};
  if (!process.waitForFinished(300000)) {
    process.kill();
    process.waitForFinished();
    run.errors = QStringLiteral("did not end in five minutes");
  } else if (process.exitStatus() == QProcess::NormalExit) {
    run.exitCode = process.exitCode();
  }
  run.errors += QString::fromLocal8Bit(process.readAllStandardError());
  std::lock_guard lock(mutex_);
  runs_.push_back(run);
  return run;
}

void Soak::work(int worker, const QElapsedTimer& clock, qint64 until) {
  const QString user = QString::number(worker % 2 == 0 ? host::kDemoUser : host::kTestUser);
  const QString rows = native(QStringLiteral("somma.qry"));
  const QStringList query{
      QStringLiteral("query"),     QStringLiteral("--user"), user, QStringLiteral("--table"),
      QStringLiteral("ETICHETTE"), QStringLiteral("--rows"), rows};
  for (int round = 1; clock.elapsed() < until; ++round) {
    const QString tag = QStringLiteral("%1_%2").arg(worker).arg(round);
    const QString out = native(QStringLiteral("out/") + tag);

    // Labels whose description carries a marker of this import.
    const QString marker = QStringLiteral("K") + tag + u'_';
    QFile file(out + QStringLiteral(".txt"));
    if (file.open(QIODevice::WriteOnly)) {
      for (int k = 1; k <= kLabelsPerImport; ++k)
        file.write(QStringLiteral("Dati %1;%2%3;C%1%3\r\n").arg(tag, marker).arg(k).toLatin1());
      file.close();
    }
    const Run imported =
        orbelan(worker, QStringLiteral("import"),
                {QStringLiteral("import"), QStringLiteral("--user"), user, file.fileName()});
    {
      std::lock_guard lock(mutex_);
      imports_.push_back({marker, imported.exitCode == 0});
    }

    const Run printed = orbelan(worker, QStringLiteral("print"),
                                {QStringLiteral("print"), QStringLiteral("--user"), user,
                                 QStringLiteral("--all"), QStringLiteral("--description"), tag,
                                 QStringLiteral("--pdf"), out + QStringLiteral(".pdf")});
    static const QRegularExpression launched(QStringLiteral("Launch (\\d+): "));
    const QRegularExpressionMatch match = launched.match(printed.errors);
    // A launch that printed some labels, also when others were taken by
    // another launch meanwhile, is checked against its PDF.
    if (match.hasMatch()) {
      std::lock_guard lock(mutex_);
      launches_.push_back({match.captured(1), out + QStringLiteral(".pdf")});
    }

    orbelan(worker, QStringLiteral("query --run"), query + QStringList{QStringLiteral("--run")});
    orbelan(worker, QStringLiteral("text export"),
            query + QStringList{QStringLiteral("--export"), out + QStringLiteral(".csv"),
                                QStringLiteral("--type"), QStringLiteral("Testo")});
    orbelan(worker, QStringLiteral("workbook export"),
            query + QStringList{QStringLiteral("--export"), out + QStringLiteral(".xlsx"),
                                QStringLiteral("--type"), QStringLiteral("ExcelX")});
    orbelan(worker, QStringLiteral("chart"),
            query + QStringList{QStringLiteral("--chart"), out + QStringLiteral(".png"),
                                QStringLiteral("--chart-report"), QStringLiteral("QGr01N.RPT"),
                                QStringLiteral("--chart-x"), QStringLiteral("CODICE"),
                                QStringLiteral("--chart-y"), QStringLiteral("PROGR")});
    orbelan(
        worker, QStringLiteral("answer print"),
        query + QStringList{QStringLiteral("--print-pdf"), out + QStringLiteral("-risposta.pdf"),
                            QStringLiteral("--print-type"), QString::number(round % 2)});
  }
}

void Soak::changeTables(const std::atomic<bool>& stop) {
  db::Database database;
  try {
    database.attach(archiveName(), qEnvironmentVariable("ISC_USER"),
                    qEnvironmentVariable("ISC_PASSWORD"));
  } catch (const db::DbError& error) {
    tableChangeFailures_ << error.text();
    return;
  }
  for (int n = 1; !stop; ++n) {
    const QString table = QStringLiteral("ALTRO_UTENTE_%1").arg(n);
    for (const QString& statement : {QStringLiteral("CREATE TABLE %1 (X INTEGER)").arg(table),
                                     QStringLiteral("DROP TABLE %1").arg(table)}) {
      // Two changes of tables at once conflict on the system tables: like
      // any careful program, this one tries again a moment later.
      for (int attempt = 1;; ++attempt) {
        try {
          db::Transaction transaction(
              database, {QStringLiteral("isc_tpb_read_committed"),
                         QStringLiteral("isc_tpb_rec_version"), QStringLiteral("isc_tpb_nowait")});
          db::Query query(database, transaction);
          query.sql << statement;
          query.execSql();
          transaction.commit();
          break;
        } catch (const db::DbError& error) {
          if (!error.isLockConflict() || attempt == 50) {
            tableChangeFailures_ << statement + QStringLiteral(": ") + error.text();
            break;
          }
          ++tableChangeConflicts_;
          QThread::msleep(20);
        }
      }
    }
    ++tableChanges_;
    QThread::msleep(150);
  }
}

void Soak::run(int seconds) {
  QElapsedTimer clock;
  clock.start();
  std::atomic<bool> stop{false};
  std::thread tables([&] { changeTables(stop); });
  std::vector<std::thread> workers;
  for (int worker = 0; worker < kWorkers; ++worker)
    workers.emplace_back([&, worker] { work(worker, clock, qint64(seconds) * 1000); });
  for (std::thread& worker : workers) worker.join();
  stop = true;
  tables.join();
  minutes_ = static_cast<double>(clock.elapsed()) / 60000.0;
}

QStringList Soak::pdfMarkers(const QString& pdf) const {
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
  text.waitForFinished(60000);
  QStringList found;
  for (auto it = kMarker.globalMatch(QString::fromUtf8(text.readAllStandardOutput()));
       it.hasNext();)
    found << it.next().captured(0);
  return found;
}

bool Soak::check() {
  QStringList faults;
  int failures = 0;
  for (const Run& run : runs_) {
    if (run.exitCode == 0 || (run.exitCode == 1 && announcedLock(run))) continue;
    ++failures;
    faults << QStringLiteral("worker %1, %2, status %3: %4")
                  .arg(run.worker)
                  .arg(run.operation)
                  .arg(run.exitCode)
                  .arg(run.errors.trimmed());
  }
  failures += static_cast<int>(tableChangeFailures_.size());
  faults << tableChangeFailures_;

  db::Database archive;
  archive.attach(archiveName(), qEnvironmentVariable("ISC_USER"),
                 qEnvironmentVariable("ISC_PASSWORD"));
  db::Transaction transaction(archive);
  const auto values = [&](const QString& statement) {
    db::Query query(archive, transaction);
    query.sql << statement;
    QStringList found;
    for (query.open(); !query.isEof(); query.next()) found << query.text(query.field(0).name);
    return found;
  };

  for (const Import& import : imports_) {
    const int count = values(QStringLiteral("SELECT COUNT(*) FROM ETICHETTE WHERE DESCRIZIONE "
                                            "STARTING WITH '%1'")
                                 .arg(import.marker))
                          .value(0)
                          .toInt();
    if (count != (import.done ? kLabelsPerImport : 0))
      faults << QStringLiteral("import %1 (%2) left %3 labels")
                    .arg(import.marker,
                         import.done ? QStringLiteral("done") : QStringLiteral("refused"))
                    .arg(count);
  }

  QSet<QString> printed;
  for (const Launch& launch : launches_) {
    QStringList stamped;
    for (const QString& description :
         values(QStringLiteral("SELECT DESCRIZIONE FROM ETICHETTE WHERE IDLANCIOSTAMPA=%1")
                    .arg(launch.id)))
      if (kMarker.match(description).hasMatch()) stamped << description;
    QStringList inPdf = pdfMarkers(launch.pdf);
    stamped.sort();
    inPdf.sort();
    if (stamped != inPdf)
      faults << QStringLiteral("launch %1: %2 labels stamped, %3 in %4")
                    .arg(launch.id)
                    .arg(stamped.size())
                    .arg(inPdf.size())
                    .arg(launch.pdf);
    for (const QString& label : inPdf) {
      if (printed.contains(label)) faults << QStringLiteral("label %1 in two launches").arg(label);
      printed.insert(label);
    }
  }

  const QStringList left = values(QStringLiteral(
      "SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME STARTING WITH "
      "'TMP_' OR RDB$RELATION_NAME STARTING WITH 'ALTRO_UTENTE_'"));
  if (!left.isEmpty()) faults << QStringLiteral("work tables left: ") + left.join(u' ');

  std::printf("%d users, %d processes, %.1f minutes against %s\n", 2, kWorkers, minutes_,
              qPrintable(server_));
  std::printf(
      "  %zu runs of the program (%.0f a minute), %zu launches printed, %zu imports, %d "
      "tables made and dropped beside them (%d times tried again after a conflict)\n",
      runs_.size(), static_cast<double>(runs_.size()) / minutes_, launches_.size(), imports_.size(),
      tableChanges_, tableChangeConflicts_);
  std::printf("  failures: %d\n", failures);
  for (const QString& fault : faults) std::printf("  FAULT %s\n", qPrintable(fault));
  return faults.isEmpty();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QCoreApplication app(argc, argv);
  int seconds = 300;
  const QStringList arguments = app.arguments();
  const qsizetype at = arguments.indexOf(QStringLiteral("--seconds"));
  if (at >= 0 && at + 1 < arguments.size()) seconds = std::max(1, arguments[at + 1].toInt());
  const QString server = qEnvironmentVariable("ORBELAN_TEST_SERVER");
  const QString serverDir = qEnvironmentVariable("ORBELAN_TEST_SERVER_DIR");
  if (server.isEmpty() || serverDir.isEmpty()) {
    std::fprintf(stderr,
                 "soak: ORBELAN_TEST_SERVER and ORBELAN_TEST_SERVER_DIR name the server "
                 "(scripts/firebird-server.sh)\n");
    return 2;
  }
  Soak soak(server, serverDir);
  try {
    if (!soak.setUp()) {
      std::fprintf(stderr, "soak: cannot make the installation under %s\n", qPrintable(serverDir));
      return 1;
    }
    soak.run(seconds);
    return soak.check() ? 0 : 1;
  } catch (const db::DbError& error) {
    std::fprintf(stderr, "soak: %s\n", qPrintable(error.text()));
    return 1;
  }
}
