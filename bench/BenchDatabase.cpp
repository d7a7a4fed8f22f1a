#include "BenchDatabase.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cstdio>

#include "HostSchema.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace bench {

namespace {

constexpr int kBatch = 100000;
const QString kUser = QStringLiteral("SYSDBA");
const QString kPassword = QStringLiteral("masterkey");

int labelCount(db::Database& database) {
  db::Transaction transaction(database);
  db::Query query(database, transaction);
  query.sql << QStringLiteral("SELECT COUNT(*) FROM ETICHETTE");
  query.open();
  return query.value(0, 0).toInt();
}

}  // namespace

QString labelDatabasePath() {
  QString dir = qEnvironmentVariable("ORBELAN_BENCH_DIR");
  if (dir.isEmpty()) dir = QDir::tempPath() + QStringLiteral("/orbelan-bench");
  QDir().mkpath(dir);
  return dir + QStringLiteral("/etichette-1m.fdb");
}

QString benchDirectory(const QString& name) {
  QString dir = qEnvironmentVariable("ORBELAN_BENCH_DIR");
  if (dir.isEmpty()) dir = QDir::tempPath() + QStringLiteral("/orbelan-bench-") + name;
  QDir().mkpath(dir);
  return dir;
}

bool ensureDatabase(const QString& path, const std::function<bool(const QString&)>& generated,
                    const std::function<void(const QString&)>& generate) {
  try {
    if (!generated(path)) {
      QFile::remove(path);
      generate(path);
    }
    return true;
  } catch (const db::DbError& error) {
    std::fprintf(stderr, "cannot prepare the database: %s\n", qPrintable(error.text()));
    return false;
  }
}

double runIsqlScript(const QString& script, const QString& database, int timeoutMs) {
  QElapsedTimer timer;
  timer.start();
  QProcess isql;
  isql.start(QStringLiteral("isql-fb"),
             {QStringLiteral("-q"), QStringLiteral("-user"), kUser, QStringLiteral("-ch"),
              QStringLiteral("WIN1252"), QStringLiteral("-i"), script, database});
  if (!isql.waitForFinished(timeoutMs) || isql.exitCode() != 0) {
    std::fprintf(stderr, "isql-fb failed: %s\n", isql.readAllStandardError().constData());
    return -1;
  }
  return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

void runStatement(db::Database& database, const QString& statement) {
  db::Transaction transaction(database);
  db::Query query(database, transaction);
  query.sql << statement;
  query.execSql();
  transaction.commit();
}

bool prepareLabelDatabase(const QString& path) {
  if (QFile::exists(path)) {
    db::Database database;
    database.attach(path, kUser, kPassword);
    if (labelCount(database) == kLabels) return true;
    database.detach();
    QFile::remove(path);
  }
  std::printf("building %d labels in %s ...\n", kLabels, qPrintable(path));
  std::fflush(stdout);
  QElapsedTimer timer;
  timer.start();
  db::Database database;
  database.create(path, kUser, kPassword, 8192);
  host::createArchiveSchema(database);
  for (int first = 1; first <= kLabels; first += kBatch) {
    runStatement(
        database,
        QStringLiteral("EXECUTE BLOCK AS DECLARE I INTEGER = %1; BEGIN WHILE (I < %2) DO BEGIN "
                       "INSERT INTO ETICHETTE (ID, IDACQUISIZIONE, CODICE, DATIPRODOTTO, "
                       "DESCRIZIONE, CAUSALE, CODICE_EAN) VALUES (:I, :I / 1000 + 1, "
                       "'A' || LPAD(MOD(:I * 7919, 1000003), 7, '0'), 'Dati prodotto ' || :I, "
                       "'Articolo di prova numero ' || :I, 'VENDITA', "
                       "LPAD(:I, 13, '0')); I = I + 1; END END")
            .arg(first)
            .arg(first + kBatch));
  }
  // The search runs at every keystroke for this user, so that a keystroke's
  // reopening is measured without the one-second wait.
  runStatement(database,
               QStringLiteral("INSERT INTO SETGRID (CODICEUTENTE, CODICEPROGETTO, ABILITATIMERRIC) "
                              "VALUES (1, 123, 0)"));
  std::printf("built in %.1f s\n", static_cast<double>(timer.elapsed()) / 1000.0);
  return labelCount(database) == kLabels;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

bool attachLabelDatabase(db::Database& database) {
  const QString path = labelDatabasePath();
  if (!prepareLabelDatabase(path)) {
    std::fprintf(stderr, "the benchmark database is incomplete\n");
    return false;
  }
  database.attach(path, QStringLiteral("SYSDBA"), QStringLiteral("masterkey"));
  return true;
}

int readShownText(const QAbstractItemModel& model) {
  int characters = 0;
  for (int row = 0; row < model.rowCount(); ++row)
    for (int column = 0; column < model.columnCount(); ++column)
      characters += static_cast<int>(model.index(row, column).data().toString().size());
  return characters;
}

long peakMemoryKb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').front().toLong();
  return -1;
}

bool resetPeakMemory() {
  QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
  return clearRefs.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && clearRefs.write("5") == 1;
}

}  // namespace bench
