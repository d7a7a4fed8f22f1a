// Export of 100,000 rows of 17 columns (texts, integers, decimals, doubles,
// dates, timestamps, nulls) to an .xlsx file through libXendo's
// ExportXlsXAnsi, loaded by path as the query designer loads it, beside a
// bare loop that fetches the same rows through the database layer and
// writes them with libxlsxwriter in constant-memory mode, in the same run.
// Each side is run three times, alternating; the median time and the peak
// resident memory of each side are reported.
//
// The database is generated once and kept in a fixed folder under the
// temporary directory (ORBELAN_BENCH_DIR overrides it).
#include <xlsxwriter.h>

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QTime>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "BenchDatabase.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace {

constexpr int kRows = 100000;
constexpr int kRuns = 3;
const QStringList kStatement{
    QStringLiteral("SELECT ID, CODICE, DESCRIZIONE, MODELLO, VARIANTE, TAGLIA, QUANTITA, PEZZI,"),
    QStringLiteral("PROGRESSIVO, PREZZO, SCONTO, PESO, DATACARICO, MOMENTO, NOTE, CITTA, EAN"),
    QStringLiteral("FROM ARTICOLI"), QStringLiteral("ORDER BY ID")};

QString benchDir() {
  return bench::benchDirectory(QStringLiteral("xlsx-export"));
}

int rowCount(db::Database& database) {
  db::Transaction transaction(database);
  db::Query query(database, transaction);
  query.sql << QStringLiteral("SELECT COUNT(*) FROM ARTICOLI");
  query.open();
  return query.value(0, 0).toInt();
}

bool generated(const QString& file) {
  if (!QFileInfo::exists(file)) return false;
  try {
    db::Database database;
    database.attach(file, "SYSDBA", "masterkey");
    return rowCount(database) == kRows;
  } catch (const db::DbError&) {
    return false;
  }
}

void generate(const QString& file) {
  std::fprintf(stderr, "generating %d rows in %s\n", kRows, qPrintable(file));
  db::Database database;
  database.create(file, "SYSDBA", "masterkey", 8192);
  bench::runStatement(
      database,
      "CREATE TABLE ARTICOLI (ID INTEGER, CODICE VARCHAR(20), DESCRIZIONE VARCHAR(60), "
      "MODELLO VARCHAR(20), VARIANTE VARCHAR(10), TAGLIA VARCHAR(5), QUANTITA SMALLINT, "
      "PEZZI INTEGER, PROGRESSIVO BIGINT, PREZZO NUMERIC(15,3), SCONTO DOUBLE PRECISION, "
      "PESO DOUBLE PRECISION, DATACARICO DATE, MOMENTO TIMESTAMP, NOTE VARCHAR(80), "
      "CITTA VARCHAR(30), EAN VARCHAR(13))");
  bench::runStatement(
      database,
      QStringLiteral(
          "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= %1) DO BEGIN "
          "INSERT INTO ARTICOLI VALUES (:I, 'ART' || LPAD(MOD(:I, 997), 5, '0'), "
          "'GIACCA MONOPETTO DUE BOTTONI - BLU NOTTE ' || MOD(:I, 50), 'M' || MOD(:I, 40), "
          "'V' || MOD(:I, 12), MOD(:I, 10) + 40, MOD(:I, 100), :I * 3, :I * 1000003, "
          "CAST(MOD(:I, 100000) AS NUMERIC(15,3)) / 8, MOD(:I, 30) / 100e0, :I * 0.013e0, "
          "DATEADD(MOD(:I, 3650) DAY TO DATE '2015-01-01'), "
          "DATEADD(:I SECOND TO TIMESTAMP '2024-01-01 08:00:00'), "
          "IIF(MOD(:I, 3) = 0, NULL, 'Consegna entro venerdì'), 'MILANO', "
          "'80012345' || LPAD(MOD(:I, 100000), 5, '0')); I = I + 1; END END")
          .arg(kRows));
}

struct Run {
  double seconds = -1;
  long peakKb = -1;
};

// The library's export, as the designer calls it.
Run libraryRun(QLibrary& xendo, const QString& database, const QString& fileName) {
  using Export = int (*)(const char*, const char*, const char*, const char*, const char*);
  using LastError = const char* (*)();
  const auto exportXlsx = reinterpret_cast<Export>(xendo.resolve("ExportXlsXAnsi"));
  const auto lastError = reinterpret_cast<LastError>(xendo.resolve("XendoLastError"));
  if (!exportXlsx || !lastError) return {};
  const QByteArray sql = kStatement.join(QStringLiteral("\r\n")).toLatin1();
  const QByteArray directory = (benchDir() + '/').toLocal8Bit();
  bench::resetPeakMemory();
  QElapsedTimer timer;
  timer.start();
  const int result = exportXlsx(sql.constData(), database.toLocal8Bit().constData(),
                                directory.constData(), fileName.toLocal8Bit().constData(), "");
  const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  if (result < 0) {
    std::fprintf(stderr, "ExportXlsXAnsi failed (%d): %s\n", result, lastError());
    return {};
  }
  return {seconds, bench::peakMemoryKb()};
}

double serial(const QDate& date) {
  static const QDate base(1899, 12, 30);
  return static_cast<double>(base.daysTo(date));
}

// The same rows fetched the same way, written with nothing in between.
Run bareRun(const QString& databaseFile, const QString& file) {
  bench::resetPeakMemory();
  QElapsedTimer timer;
  timer.start();
  db::Database database;
  database.attach(databaseFile, "SYSDBA", "masterkey");
  db::Transaction transaction(
      database, {QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait"),
                 QStringLiteral("isc_tpb_read")});
  db::Query query(database, transaction);
  query.setForwardOnly(true);
  query.sql = kStatement;
  query.open();

  lxw_workbook_options options = {};
  options.constant_memory = LXW_TRUE;
  options.use_zip64 = LXW_TRUE;
  const QByteArray path = QFile::encodeName(file);
  lxw_workbook* workbook = workbook_new_opt(path.constData(), &options);
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Foglio1");
  lxw_format* bold = workbook_add_format(workbook);
  format_set_bold(bold);
  lxw_format* date = workbook_add_format(workbook);
  format_set_num_format(date, "dd/mm/yyyy");
  lxw_format* stamp = workbook_add_format(workbook);
  format_set_num_format(stamp, "dd/mm/yyyy hh:mm:ss");

  const int columns = query.fieldCount();
  for (int column = 0; column < columns; ++column)
    worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(column),
                           query.field(column).name.toUtf8().constData(), bold);
  lxw_row_t row = 1;
  for (; !query.isEof(); query.next(), ++row) {
    for (int column = 0; column < columns; ++column) {
      const QVariant value = query.value(query.currentRow(), column);
      const auto col = static_cast<lxw_col_t>(column);
      if (value.isNull()) continue;
      switch (value.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Double:
          worksheet_write_number(sheet, row, col, value.toDouble(), nullptr);
          break;
        case QMetaType::QDate:
          worksheet_write_number(sheet, row, col, serial(value.toDate()), date);
          break;
        case QMetaType::QDateTime: {
          const QDateTime moment = value.toDateTime();
          worksheet_write_number(
              sheet, row, col,
              serial(moment.date()) + moment.time().msecsSinceStartOfDay() / 86400000.0, stamp);
          break;
        }
        default:
          worksheet_write_string(sheet, row, col, value.toString().toUtf8().constData(), nullptr);
      }
    }
  }
  const lxw_error error = workbook_close(workbook);
  const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  if (error != LXW_NO_ERROR || row != kRows + 1) {
    std::fprintf(stderr, "the bare loop failed: %s\n", lxw_strerror(error));
    return {};
  }
  return {seconds, bench::peakMemoryKb()};
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QString database = benchDir() + QStringLiteral("/articoli.fdb");
  if (!bench::ensureDatabase(database, generated, generate)) return 1;

  QString libraryDir = qEnvironmentVariable("ORBELAN_LIBRARY_DIR");
  if (libraryDir.isEmpty()) libraryDir = QStringLiteral(ORBELAN_BUILT_LIBRARY_DIR);
  QLibrary xendo(libraryDir + QStringLiteral("/libXendo.so"));
  if (!xendo.load()) {
    std::fprintf(stderr, "cannot load libXendo: %s\n", qPrintable(xendo.errorString()));
    return 1;
  }

  // Each side's peak on its own where the system lets the peak start over.
  const bool separatePeaks = bench::resetPeakMemory();
  std::vector<double> library, bare;
  long libraryPeak = 0, barePeak = 0;
  for (int run = 0; run < kRuns; ++run) {
    const Run ours = libraryRun(xendo, database, QStringLiteral("xendo.xlsx"));
    Run reference;
    try {
      reference = bareRun(database, benchDir() + QStringLiteral("/bare.xlsx"));
    } catch (const db::DbError& error) {
      std::fprintf(stderr, "the bare loop failed: %s\n", qPrintable(error.text()));
    }
    if (ours.seconds < 0 || reference.seconds < 0) return 1;
    library.push_back(ours.seconds);
    bare.push_back(reference.seconds);
    libraryPeak = std::max(libraryPeak, ours.peakKb);
    barePeak = std::max(barePeak, reference.peakKb);
  }
  const double ours = bench::median(library);
  const double reference = bench::median(bare);
  std::printf("ExportXlsXAnsi, %d rows x 17 columns: %.2f s, peak memory %.1f MB (%lld bytes)\n",
              kRows, ours, static_cast<double>(libraryPeak) / 1024.0,
              static_cast<long long>(QFileInfo(benchDir() + "/xendo.xlsx").size()));
  std::printf("bare libxlsxwriter loop, same rows: %.2f s, peak memory %.1f MB (%lld bytes)\n",
              reference, static_cast<double>(barePeak) / 1024.0,
              static_cast<long long>(QFileInfo(benchDir() + "/bare.xlsx").size()));
  if (!separatePeaks) std::printf("(peak memory of the whole process, not of each side)\n");
  std::printf("ratio %.2fx (goal at most 1.3x, peak memory under 150 MB)\n", ours / reference);
  return 0;
}
