// Export of a print launch of 100,000 labels to its CSV file, beside isql-fb
// writing the same rows (each field followed by ";") to a file with its
// OUTPUT command, on the same embedded database in the same run.
//
// The database is generated once and kept in a fixed folder under the
// temporary directory (ORBELAN_BENCH_DIR overrides it), so later runs time
// only the exports.
#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "BenchDatabase.h"
#include "HostSchema.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "labels/LaunchExport.h"
#include "support/FirebirdFixture.h"

namespace {

constexpr int kLabels = 100000;
constexpr qint64 kLaunch = 1;

QString benchDir() {
  return bench::benchDirectory(QStringLiteral("launch-export"));
}

// The labels of one launch, filled like an import of a restocking file.
void generate(const QString& file) {
  std::fprintf(stderr, "generating %d labels in %s\n", kLabels, qPrintable(file));
  db::Database database;
  database.create(file, "SYSDBA", "masterkey", 8192);
  host::createArchiveSchema(database);
  runStatement(database,
               "INSERT INTO LANCISTAMPA (ID,DATA,NOTE,ESPORTATO) "
               "VALUES (1,'03/05/2024','CARICO DI MARZO','0')");
  runStatement(
      database,
      QStringLiteral("EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < %1) DO BEGIN "
                     "INSERT INTO ETICHETTE (ID,IDACQUISIZIONE,CODICE,DATIPRODOTTO,DESCRIZIONE,"
                     "CAUSALE,ORDINE,CODCLIDESTIN,RAGSOCCLIDESTIN,FORNITORE,INDIRIZZO,CAP,CITTA,"
                     "PROVINCIA,NAZIONE,CODICE_EAN,IDLANCIOSTAMPA) VALUES (:I+1,7,"
                     "'ART'||LPAD(MOD(:I,997),5,'0')||'046240304'||LPAD(MOD(:I,10000),4,'0'),"
                     "'MOD.M'||MOD(:I,40)||' VAR.V'||MOD(:I,12)||' TG.46 LANA MERINO',"
                     "'GIACCA MONOPETTO DUE BOTTONI - BLU NOTTE','RIASS','O'||MOD(:I,500),"
                     "'C'||MOD(:I,80),'BOUTIQUE CENTRO MODA SRL','F0021','VIA GARIBALDI 21',"
                     "'20121','MILANO','MI','ITALIA','80012345'||LPAD(MOD(:I,100000),5,'0'),1); "
                     "I = I + 1; END END")
          .arg(kLabels));
  database.detach();
}

bool generated(const QString& file) {
  if (!QFileInfo::exists(file)) return false;
  try {
    db::Database database;
    database.attach(file, "SYSDBA", "masterkey");
    return readOne(database, "SELECT COUNT(*) FROM ETICHETTE WHERE IDLANCIOSTAMPA=1") ==
           QString::number(kLabels);
  } catch (const db::DbError&) {
    return false;
  }
}

// isql-fb with OUTPUT to a file: the same rows, fields joined with ";".
double isqlSeconds(const QString& database, const QString& output) {
  const QString script = benchDir() + QStringLiteral("/export.sql");
  QFile sql(script);
  if (!sql.open(QIODevice::WriteOnly | QIODevice::Truncate)) return -1;
  QByteArray fields;
  for (const char* column :
       {"ID", "IDACQUISIZIONE", "CODICE", "DATIPRODOTTO", "DESCRIZIONE", "CAUSALE", "ORDINE",
        "CODCLIDESTIN", "RAGSOCCLIDESTIN", "FORNITORE", "INDIRIZZO", "CAP", "CITTA", "PROVINCIA",
        "NAZIONE", "CODICE_EAN", "IDLANCIOSTAMPA"})
    fields += QByteArray(fields.isEmpty() ? "" : "||") + "COALESCE(" + column + ",'')||';'";
  sql.write("SET HEADING OFF;\nOUTPUT " + output.toLocal8Bit() + ";\nSELECT " + fields +
            " FROM ETICHETTE WHERE (IDLANCIOSTAMPA='1');\nOUTPUT;\nQUIT;\n");
  sql.close();
  return bench::runIsqlScript(script, database, 600000);
}

int lineCount(const QString& file) {
  QFile text(file);
  if (!text.open(QIODevice::ReadOnly)) return -1;
  int lines = 0;
  while (!text.atEnd())
    if (!text.readLine().trimmed().isEmpty()) ++lines;
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QString database = benchDir() + QStringLiteral("/archivio.fdb");
  if (!bench::ensureDatabase(database, generated, generate)) return 1;

  // The reference first, while no attachment of ours holds the file.
  const QString reference = benchDir() + QStringLiteral("/isql.txt");
  QFile::remove(reference);
  const double isql = isqlSeconds(database, reference);

  const QString csv = benchDir() + QStringLiteral("/lancio.CSV");
  double ours = -1;
  int lines = 0;
  try {
    QElapsedTimer timer;
    timer.start();
    db::Database archive;
    archive.attach(database, "SYSDBA", "masterkey");
    db::Transaction transaction(
        archive, {QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait")});
    lines = labels::writeLaunchCsv(archive, transaction, kLaunch, csv);
    db::Query update(archive, transaction);
    update.sql = labels::markExportedStatement(kLaunch, QDate::currentDate());
    update.execSql();
    transaction.commit();
    ours = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "export failed: %s\n", error.what());
    return 1;
  }

  std::printf("launch export of %d labels to CSV: %.2f s (%lld bytes, %d lines)\n", kLabels, ours,
              static_cast<long long>(QFileInfo(csv).size()), lines);
  if (isql >= 0)
    std::printf("isql-fb OUTPUT of the same rows:  %.2f s (%lld bytes, %d lines)\n", isql,
                static_cast<long long>(QFileInfo(reference).size()), lineCount(reference));
  return lines == kLabels ? 0 : 1;
}
