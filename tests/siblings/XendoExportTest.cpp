// libXendo as the query designer's export calls it: loaded by path, the
// answer of a statement read from a real Firebird database and written as
// .xls and .xlsx workbooks, read back by other programs (openpyxl, xlrd,
// Gnumeric's ssconvert).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <cmath>

#include "XendoLibrary.h"
#include "db/Database.h"
#include "support/FirebirdFixture.h"
#include "support/QtPrinters.h"
#include "support/TestFiles.h"

namespace {

using Format = XendoLibrary::Format;

constexpr int kWritten = 0;
constexpr int kWrittenWithoutTemplate = 1;
constexpr int kBadArguments = -1;
constexpr int kDatabaseFailed = -2;
constexpr int kWriteFailed = -3;
constexpr int kTooLarge = -4;

QString python() {
  // The system's interpreter, where the distribution's openpyxl and xlrd are.
  const QString system = QStringLiteral("/usr/bin/python3");
  return QFileInfo::exists(system) ? system : QStringLiteral("python3");
}

// The rows of the workbook's sheet as read_workbook.py prints them; with
// rows given, the row count first and then those rows.
QStringList readWorkbook(const QString& file, const QList<int>& rows = {}) {
  QStringList arguments{QStringLiteral(XENDO_WORKBOOK_READER), file};
  for (int row : rows) arguments << QString::number(row);
  QProcess reader;
  reader.start(python(), arguments);
  if (!reader.waitForFinished(300000) || reader.exitCode() != 0) {
    ADD_FAILURE() << "reading " << qPrintable(file)
                  << " failed: " << reader.readAllStandardError().constData();
    return {};
  }
  return QString::fromUtf8(reader.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// The sheet as Gnumeric's ssconvert writes it to CSV, each cell as its
// number format shows it.
QStringList ssconvertCsv(const QString& file) {
  const QString csv = file + QStringLiteral(".csv");
  QProcess convert;
  convert.start(QStringLiteral("ssconvert"),
                {QStringLiteral("--export-type=Gnumeric_stf:stf_assistant"),
                 QStringLiteral("--export-options=format=preserve"), file, csv});
  if (!convert.waitForFinished(300000) || convert.exitCode() != 0) {
    ADD_FAILURE() << "ssconvert failed on " << qPrintable(file) << ": "
                  << convert.readAllStandardError().constData();
    return {};
  }
  QStringList lines = QString::fromUtf8(testfiles::contents(csv)).split('\n', Qt::SkipEmptyParts);
  QFile::remove(csv);
  return lines;
}

// A number as the reader prints it.
QString number(double value) {
  if (value == static_cast<double>(static_cast<qint64>(value)) && std::abs(value) < 1e15)
    return QStringLiteral("n:%1").arg(static_cast<qint64>(value));
  return QStringLiteral("n:") + QString::number(value, 'g', QLocale::FloatingPointShortest);
}

class XendoExportTest : public FirebirdTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(xendo_.isLoaded()) << qPrintable(xendo_.loadError());
    // Stored paths in their Windows form: drive X is the temporary folder.
    qputenv("ORBELAN_DRIVES", ("X=" + dir_.path()).toLocal8Bit());
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("uscita")));
    database_ = createDatabase(QStringLiteral("archivio.fdb"));
  }
  void TearDown() override { qunsetenv("ORBELAN_DRIVES"); }

  QString out(const QString& fileName) const { return path(QStringLiteral("uscita/") + fileName); }
  QStringList outEntries() const { return testfiles::entries(path(QStringLiteral("uscita"))); }

  int run(Format format, const QString& sql, const QString& fileName,
          const QString& templateWorkbook = {}) {
    return xendo_.run(format, sql, QStringLiteral("X:\\archivio.fdb"),
                      QStringLiteral("X:\\uscita\\"), fileName, templateWorkbook);
  }

  void createTypesTable() {
    execute(*database_,
            {"CREATE TABLE PROVA (ID INTEGER, PICCOLO SMALLINT, GRANDE BIGINT, REALE DOUBLE "
             "PRECISION, IMPORTO NUMERIC(15,3), GIORNO DATE, MOMENTO TIMESTAMP, TESTO "
             "VARCHAR(60))",
             "INSERT INTO PROVA VALUES (1, -12, 1234567890123, 3.25, 1234.567, '2024-03-15', "
             "'2024-03-15 13:45:30', 'Perché caffè € 5')",
             "INSERT INTO PROVA (ID) VALUES (2)",
             "INSERT INTO PROVA VALUES (3, 32767, 9007199254740993, -0.5, -0.001, '1999-12-31', "
             "'2000-01-01 00:00:00', 'àèìòù \"citato\"; ultimo')"});
  }

  XendoLibrary xendo_;
  std::unique_ptr<db::Database> database_;
};

const QStringList kTypesRows{
    "s:ID\ts:PICCOLO\ts:GRANDE\ts:REALE\ts:IMPORTO\ts:GIORNO\ts:MOMENTO\ts:TESTO",
    "n:1\tn:-12\tn:1234567890123\tn:3.25\tn:1234.567\td:2024-03-15 00:00:00\t"
    "d:2024-03-15 13:45:30\ts:Perché caffè € 5",
    "n:2\te:\te:\te:\te:\te:\te:\te:",
    // Beyond 2^53 a spreadsheet number would change the value: text.
    "n:3\tn:32767\ts:9007199254740993\tn:-0.5\tn:-0.001\td:1999-12-31 00:00:00\t"
    "d:2000-01-01 00:00:00\ts:àèìòù \"citato\"; ultimo",
};

TEST_F(XendoExportTest, BothFormatsKeepNumbersDatesTextsAndNulls) {
  createTypesTable();
  const QString sql =
      "SELECT ID, PICCOLO, GRANDE, REALE, IMPORTO, GIORNO, MOMENTO, TESTO\r\n"
      "FROM PROVA\r\nORDER BY ID";
  testfiles::writeFile(out("risultato.xlsx"), "vecchio");

  ASSERT_EQ(run(Format::Xls, sql, "risultato.xls"), kWritten) << qPrintable(xendo_.lastError());
  EXPECT_EQ(xendo_.lastError(), "");
  // A directory without its final backslash gets one.
  ASSERT_EQ(xendo_.run(Format::Xlsx, sql, "X:\\archivio.fdb", "X:\\uscita", "risultato.xlsx"),
            kWritten)
      << qPrintable(xendo_.lastError());

  EXPECT_EQ(readWorkbook(out("risultato.xls")), kTypesRows);
  EXPECT_EQ(readWorkbook(out("risultato.xlsx")), kTypesRows);
  EXPECT_EQ(ssconvertCsv(out("risultato.xls")),
            (QStringList{"ID,PICCOLO,GRANDE,REALE,IMPORTO,GIORNO,MOMENTO,TESTO",
                         // Gnumeric's general format: a minus sign, a large
                         // number shortened to the column's width.
                         "1,−12,1.2346E+12,3.25,1234.567,15/03/2024,\"15/03/2024 13:45:30\","
                         "\"Perché caffè € 5\"",
                         "2,,,,,,,",
                         "3,32767,9007199254740993,−0.5,−0.001,31/12/1999,"
                         "\"01/01/2000 00:00:00\",\"àèìòù \"\"citato\"\"; ultimo\""}));
  // The older file was replaced and no temporary file is left.
  EXPECT_EQ(outEntries(), (QStringList{"risultato.xls", "risultato.xlsx"}));
}

TEST_F(XendoExportTest, FailuresLeaveNoFileAndAnOlderFileUnchanged) {
  createTypesTable();
  for (const Format format : {Format::Xls, Format::Xlsx}) {
    SCOPED_TRACE(format == Format::Xls ? "xls" : "xlsx");
    const QString name = format == Format::Xls ? "vecchio.xls" : "vecchio.xlsx";
    testfiles::writeFile(out(name), "contenuto precedente");
    const auto unchanged = [&] {
      EXPECT_EQ(testfiles::contents(out(name)), "contenuto precedente");
      EXPECT_EQ(outEntries(), QStringList{name});
    };

    EXPECT_EQ(run(format, "SELECT NIENTE FROM PROVA", name), kDatabaseFailed);
    EXPECT_TRUE(xendo_.lastError().startsWith("Istruzione SQL non eseguibile: "));
    EXPECT_TRUE(xendo_.lastError().contains("NIENTE")) << qPrintable(xendo_.lastError());
    unchanged();

    // The second record fails while the rows are being written.
    EXPECT_EQ(run(format, "SELECT ID, 1 / (ID - 2) AS QUOTO FROM PROVA ORDER BY ID", name),
              kDatabaseFailed);
    EXPECT_TRUE(xendo_.lastError().startsWith("Errore nella lettura dei dati: "));
    EXPECT_TRUE(
        xendo_.lastError().endsWith("; il file X:\\uscita\\" + name + " non è stato creato"))
        << qPrintable(xendo_.lastError());
    unchanged();

    EXPECT_EQ(xendo_.run(format, "SELECT ID FROM PROVA", "X:\\manca.fdb", "X:\\uscita\\", name),
              kDatabaseFailed);
    EXPECT_TRUE(xendo_.lastError().startsWith("Impossibile aprire il database X:\\manca.fdb: "))
        << qPrintable(xendo_.lastError());
    unchanged();

    EXPECT_EQ(xendo_.run(format, "SELECT ID FROM PROVA", "X:\\archivio.fdb", "X:\\nessuna\\", name),
              kWriteFailed);
    EXPECT_TRUE(
        xendo_.lastError().startsWith("Impossibile creare il file X:\\nessuna\\" + name + ": "))
        << qPrintable(xendo_.lastError());
    EXPECT_FALSE(QFileInfo::exists(path("nessuna")));
    unchanged();

    EXPECT_EQ(run(format, " ", name), kBadArguments);
    EXPECT_EQ(xendo_.lastError(), "Nessuna istruzione SQL da esportare");
    unchanged();
    QFile::remove(out(name));
  }
}

TEST_F(XendoExportTest, ATemplateIsNotAppliedAndTheCallerIsToldSo) {
  createTypesTable();
  for (const Format format : {Format::Xls, Format::Xlsx}) {
    const QString name = format == Format::Xls ? "modello.xls" : "modello.xlsx";
    EXPECT_EQ(
        run(format, "SELECT ID, TESTO FROM PROVA WHERE ID = 1", name, "C:\\modelli\\listino è.xls"),
        kWrittenWithoutTemplate);
    EXPECT_EQ(xendo_.lastErrorBytes(),
              "Il modello C:\\modelli\\listino \xE8.xls non \xE8 stato applicato: la cartella "
              "\xE8 stata creata senza modello");
    EXPECT_EQ(readWorkbook(out(name)), (QStringList{"s:ID\ts:TESTO", "n:1\ts:Perché caffè € 5"}));
    // The next export without a template has nothing to say.
    EXPECT_EQ(run(format, "SELECT ID FROM PROVA", name), kWritten);
    EXPECT_EQ(xendo_.lastErrorBytes(), "");
  }
}

// Row r (counted from 1) of the large table: its ID is r.
QString largeRow(int id) {
  QString text =
      id % 2 ? QStringLiteral("s:Prezzo € %1").arg(id) : QStringLiteral("s:Riga %1").arg(id);
  if (id == 40000) text = "s:" + QString(10000, QChar(0xE8));
  if (id == 40001) text = "s:" + QString(9000, QChar(0x20AC));
  return QStringList{number(id),  number(id * 1.5),    number(id / 7.0),
                     number(-id), number(id * 1000.0), text}
      .join('\t');
}

TEST_F(XendoExportTest, LargeXlsFilesAndTheLimitsOfTheFormat) {
  // 65,536 rows from 256 by 256.
  execute(*database_, {"CREATE TABLE CIFRE (I INTEGER)",
                       "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 256) DO BEGIN "
                       "INSERT INTO CIFRE VALUES (:I); I = I + 1; END END"});
  const QString columns =
      "ID, ID * 1.5 AS A, CAST(ID AS DOUBLE PRECISION) / 7 AS B, -ID AS C, ID * 1000e0 AS D,\n"
      // Texts longer than a record: split over several CONTINUE records,
      // one byte and two bytes a character.
      "CASE WHEN ID = 40000 THEN LPAD('', 10000, 'è') WHEN ID = 40001 THEN LPAD('', 9000, '€')\n"
      "WHEN MOD(ID, 2) = 0 THEN 'Riga ' || ID ELSE 'Prezzo € ' || ID END AS T\n"
      "FROM (SELECT CAST(A.I * 256 + B.I + 1 AS INTEGER) AS ID FROM CIFRE A CROSS JOIN CIFRE B)\n"
      "ORDER BY ID";
  const QString header = "s:ID\ts:A\ts:B\ts:C\ts:D\ts:T";

  ASSERT_EQ(run(Format::Xls, "SELECT FIRST 300 " + columns, "piccolo.xls"), kWritten)
      << qPrintable(xendo_.lastError());
  EXPECT_GT(QFileInfo(out("piccolo.xls")).size(), 8192);
  EXPECT_EQ(readWorkbook(out("piccolo.xls"), {0, 1, 300}),
            (QStringList{"301", header, largeRow(1), largeRow(300)}));
  EXPECT_EQ(ssconvertCsv(out("piccolo.xls")).size(), 301);

  // The whole sheet: 65,535 rows below the header, beyond what the 109
  // allocation sectors listed in the header cover.
  ASSERT_EQ(run(Format::Xls, "SELECT FIRST 65535 " + columns, "pieno.xls"), kWritten)
      << qPrintable(xendo_.lastError());
  EXPECT_GT(QFileInfo(out("pieno.xls")).size(), 7 * 1024 * 1024);
  EXPECT_EQ(readWorkbook(out("pieno.xls"), {1, 39999, 40000, 40001, 65535}),
            (QStringList{"65536", largeRow(1), largeRow(39999), largeRow(40000), largeRow(40001),
                         largeRow(65535)}));
  EXPECT_EQ(ssconvertCsv(out("pieno.xls")).size(), 65536);

  // One row more than a sheet holds: refused, nothing written.
  EXPECT_EQ(run(Format::Xls, "SELECT " + columns, "troppo.xls"), kTooLarge);
  EXPECT_EQ(xendo_.lastError(),
            "Il risultato supera le 65.535 righe che un file .xls contiene oltre "
            "all'intestazione; il file X:\\uscita\\troppo.xls non è stato creato");
  // An .xlsx sheet holds them.
  EXPECT_EQ(run(Format::Xlsx, "SELECT " + columns, "tutto.xlsx"), kWritten);

  QStringList many;
  for (int i = 1; i <= 257; ++i) many << QStringLiteral("%1 AS C%1").arg(i);
  EXPECT_EQ(run(Format::Xls, "SELECT " + many.join(", ") + " FROM RDB$DATABASE", "largo.xls"),
            kTooLarge);
  EXPECT_EQ(xendo_.lastError(),
            "Il risultato ha 257 colonne, un file .xls ne contiene al massimo "
            "256; il file X:\\uscita\\largo.xls non è stato creato");

  // A text longer than a cell holds fails in both formats.
  const QString longMemo =
      "SELECT LPAD(CAST('' AS BLOB SUB_TYPE TEXT), 40000, 'x') AS NOTE FROM RDB$DATABASE";
  for (const QString& name : {QStringLiteral("memo.xls"), QStringLiteral("memo.xlsx")}) {
    EXPECT_EQ(run(name.endsWith(".xls") ? Format::Xls : Format::Xlsx, longMemo, name), kTooLarge);
    EXPECT_EQ(xendo_.lastError(),
              "Il valore della colonna NOTE nella riga 1 supera i 32.767 caratteri che una cella "
              "può contenere; il file X:\\uscita\\" +
                  name + " non è stato creato");
  }
  EXPECT_EQ(outEntries(), (QStringList{"piccolo.xls", "pieno.xls", "tutto.xlsx"}));
}

TEST_F(XendoExportTest, ReadsADatabaseTheServerHolds) {
  REQUIRE_TEST_SERVER();
  const QString file = qEnvironmentVariable("ORBELAN_TEST_SERVER_DIR") + "/xendo-" +
                       QString::number(QCoreApplication::applicationPid()) + ".fdb";
  const QString name = testServer() + ":" + file;
  db::Database server;
  server.create(name, db::Database::defaultUser(), db::Database::defaultPassword());
  execute(server, {"CREATE TABLE T (CODICE VARCHAR(10), QUANTITA INTEGER)",
                   "INSERT INTO T VALUES ('Città', 7)"});
  EXPECT_EQ(xendo_.run(Format::Xlsx, "SELECT CODICE, QUANTITA FROM T", name, "X:\\uscita\\",
                       "server.xlsx"),
            kWritten)
      << qPrintable(xendo_.lastError());
  EXPECT_EQ(readWorkbook(out("server.xlsx")),
            (QStringList{"s:CODICE\ts:QUANTITA", "s:Città\tn:7"}));

  // The file's own path, as the designer gives it for .xls, while the
  // server holds the file open: read through the server.
  EXPECT_EQ(xendo_.run(Format::Xls, "SELECT CODICE, QUANTITA FROM T", file, "X:\\uscita\\",
                       "server.xls"),
            kWritten)
      << qPrintable(xendo_.lastError());
  EXPECT_EQ(readWorkbook(out("server.xls")),
            (QStringList{"s:CODICE\ts:QUANTITA", "s:Città\tn:7"}));
  server.detach();
  QFile::remove(file);
}

}  // namespace
