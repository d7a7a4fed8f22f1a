// Import of a label file of 13-field (restocking) lines into an embedded
// database, in lines per second, beside two references measured in the same
// run on the same rows: a plain loop of prepared inserts with bound values,
// and a loop that runs each row as its own text statement. Every measurement
// gets a freshly created database, and the import and the prepared loop take
// turns so that both see the same machine load.
//
//   label_import [LINES] [ROUNDS] [DIR]   (default 100000 lines, 2 rounds)
//
// The databases go to DIR, by default the memory-backed /dev/shm where there
// is one, so that the figures measure the work of the program rather than
// the flushes of a disk shared with other work; name a folder on disk to
// measure that too.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "HostSchema.h"
#include "core/Cp1252.h"
#include "db/Database.h"
#include "db/PreparedStatement.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "labels/ImportaEtichette.h"
#include "labels/LabelLine.h"
#include "support/ScriptedUi.h"

namespace {

const QStringList kWindowTransaction{"isc_tpb_concurrency", "isc_tpb_nowait"};

// The fields of line i: product data, description, code, "RIASS", order,
// customer, name, supplier, address, postcode, town, province, country.
QStringList fieldsOf(int i) {
  const QString n = QString::number(i);
  return {"ART" + n.rightJustified(6, '0') + " TG 48",
          QString::fromUtf8("GIACCA LANA-BLU NOTTE ") + n,
          "0123456789ABCDEF" + n.rightJustified(6, '0'),
          "RIASS",
          "ORD" + QString::number(i % 5000),
          "C" + QString::number(i % 800),
          QString::fromUtf8("Boutique Città ") + QString::number(i % 800),
          "F" + QString::number(i % 40),
          "Via Garibaldi " + QString::number(i % 300),
          QString::number(10000 + i % 90000),
          "Torino",
          "TO",
          "Italia"};
}

double secondsOf(const std::function<void()>& work) {
  QElapsedTimer timer;
  timer.start();
  work();
  return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

class Round {
 public:
  explicit Round(const QTemporaryDir& dir) : dir_(dir) {}

  std::unique_ptr<db::Database> freshArchive() {
    auto database = std::make_unique<db::Database>();
    database->create(dir_.filePath(QString("archivio%1.fdb").arg(++databases_)), "SYSDBA",
                     "masterkey");
    host::createArchiveSchema(*database);
    return database;
  }

 private:
  const QTemporaryDir& dir_;
  int databases_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int lines = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
  const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 2;
  ScriptedPrompter prompter;
  ScopedPrompter scope(prompter);

  QString base = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
  if (base.isEmpty()) base = QDir("/dev/shm").exists() ? "/dev/shm" : QDir::tempPath();
  QTemporaryDir dir(base + "/label_import-XXXXXX");
  if (!dir.isValid()) {
    std::fprintf(stderr, "cannot make a folder in %s\n", qPrintable(base));
    return 1;
  }
  QByteArray content;
  std::vector<QVariantList> rows;
  rows.reserve(static_cast<std::size_t>(lines));
  for (int i = 1; i <= lines; ++i) {
    const QStringList fields = fieldsOf(i);
    content += core::toCp1252(fields.join(';')) + "\r\n";
    QVariantList values{"1", fields[2], fields[0], fields[1]};
    for (int f = 3; f < 13; ++f) values << fields[f];
    values << QVariant();  // CODICE_EAN
    rows.push_back(values);
  }
  const QString file = dir.filePath("riassortimento.txt");
  {
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size()) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  Round round(dir);
  std::vector<double> importRates, preparedRates;
  for (int r = 0; r < rounds; ++r) {
    {
      auto database = round.freshArchive();
      db::Transaction transaction(*database, kWindowTransaction);
      db::PreparedStatement* insert = nullptr;
      const double seconds = secondsOf([&] {
        db::PreparedStatement statement(transaction, labels::insertStatementWithMarkers());
        insert = &statement;
        for (const QVariantList& values : rows) insert->execute(values);
        transaction.commit();
      });
      preparedRates.push_back(lines / seconds);
    }
    {
      auto database = round.freshArchive();
      db::Transaction transaction(*database, kWindowTransaction);
      db::Query queryAux(*database, transaction);
      labels::ImportResult result;
      const double seconds =
          secondsOf([&] { result = labels::ImportaEtichette(queryAux, "", file); });
      if (result.outcome != labels::ImportResult::Outcome::Imported || result.labels != lines) {
        std::fprintf(stderr, "the import failed: %s\n", qPrintable(prompter.texts().join(" | ")));
        return 1;
      }
      importRates.push_back(lines / seconds);
    }
  }
  double textRate = 0;
  {
    auto database = round.freshArchive();
    db::Transaction transaction(*database, kWindowTransaction);
    db::Query query(*database, transaction);
    QStringList fileLines = core::fromCp1252(content).split("\r\n");
    fileLines.removeLast();
    const double seconds = secondsOf([&] {
      for (const QString& line : fileLines) {
        query.sql = labels::insertStatementLines("1", labels::parseLabelLine(line));
        query.execSql();
      }
      transaction.commit();
    });
    textRate = lines / seconds;
  }

  const double bestImport = *std::max_element(importRates.begin(), importRates.end());
  const double bestPrepared = *std::max_element(preparedRates.begin(), preparedRates.end());
  std::printf("Label import of %d 13-field lines, embedded Firebird in %s, best of %d rounds\n",
              lines, qPrintable(base), rounds);
  std::printf("  import (file to committed rows):        %8.0f lines/s\n", bestImport);
  std::printf("  reference, prepared inserts in a loop:  %8.0f lines/s\n", bestPrepared);
  std::printf("  one text statement per line:            %8.0f lines/s\n", textRate);
  std::printf("  import / reference: %.2f (goal: at least 0.60)\n", bestImport / bestPrepared);
  return 0;
}
