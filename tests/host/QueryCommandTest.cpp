#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <algorithm>

#include "db/Database.h"
#include "db/WorkTables.h"
#include "host/HostProgramRun.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"

namespace {

CommandRun queryCommand(const QStringList& arguments) {
  return runOrbelan(QStringList{"query", "--user", "1"} + arguments);
}

// Standard output of the lines given, for a comparison that shows the text.
std::string printed(const QStringList& lines) {
  return (lines.join('\n') + '\n').toStdString();
}

// The records of a --run answer (after its header line) in sorted order:
// the statement has no ORDER BY.
QStringList sortedRecords(const QString& output) {
  QStringList records = output.split('\n', Qt::SkipEmptyParts).mid(1);
  records.sort();
  return records;
}

// Two launches of two labels each, apart from the demo's labels.
class QueryCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db::Database database;
    host_.openArchive(database);
    for (const char* statement :
         {"INSERT INTO LANCISTAMPA (ID,DATA,NOTE) VALUES (900,'2024-05-02','Prova; uno')",
          "INSERT INTO LANCISTAMPA (ID,DATA,NOTE) VALUES (901,'2024-05-03','seconda')",
          "INSERT INTO ETICHETTE (ID,CODICE,DESCRIZIONE,IDLANCIOSTAMPA) VALUES "
          "(9001,'Q1','Giacca blu',900)",
          "INSERT INTO ETICHETTE (ID,CODICE,DESCRIZIONE,IDLANCIOSTAMPA) VALUES "
          "(9002,'Q2','Abito grigio',900)",
          "INSERT INTO ETICHETTE (ID,CODICE,DESCRIZIONE,IDLANCIOSTAMPA) VALUES "
          "(9003,'Q3','Gonna blu',901)"})
      runStatement(database, statement);
  }

  QString writeRows(const QByteArray& text) {
    QFile file(host_.native("righe.txt"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return file.fileName();
  }

  HostInstallation host_;
};

TEST_F(QueryCommandTest, PrintsTheStatementOfTheDefaultListAndOfARowsFile) {
  const CommandRun plain = queryCommand({"--table", "lancistampa", "--sql"});
  EXPECT_EQ(plain.exitCode, 0) << plain.errors.toStdString();
  EXPECT_EQ(plain.output.toStdString(),
            printed({"SELECT", "XX.ID,", "XX.DATA,", "XX.NOTE,", "XX.ESPORTATO,", "XX.DATAEXPORT",
                     "FROM ", "\"LANCISTAMPA\" XX "}));

  // A join, a predicate, a search text with an apostrophe: shown as the
  // answer holds it, the apostrophe doubled once.
  const QString rows = writeRows(
      "1\tCODICE\t1\n2\tIDLANCIOSTAMPA\t0\t(IDLANCIOSTAMPA>=900)\n3\tLANCISTAMPA = A\t9\n"
      "4\tA.ID\t8\tIDLANCIOSTAMPA\n5\tA.NOTE\t1\tprova; un'\n");
  const CommandRun joined = queryCommand({"--table", "ETICHETTE", "--rows", rows, "--sql"});
  EXPECT_EQ(joined.exitCode, 0) << joined.errors.toStdString();
  EXPECT_EQ(joined.output.toStdString(),
            printed({"SELECT", "XX.CODICE,", "A.NOTE", "FROM ", "\"ETICHETTE\" XX ",
                     "LEFT JOIN \"LANCISTAMPA\"  A", "ON ((A.ID=XX.IDLANCIOSTAMPA))", "WHERE ",
                     "((XX.IDLANCIOSTAMPA>=900)) and",
                     "((UPPER (CAST(A.NOTE AS CHARACTER(256)) ) LIKE UPPER('%PROVA; UN''%')))"}));

  // --sql shows a statement the database would refuse, and succeeds.
  const CommandRun refused =
      queryCommand({"--table", "ETICHETTE", "--rows", writeRows("1\tID\t1\t(ID=)\n"), "--sql"});
  EXPECT_EQ(refused.exitCode, 0) << refused.errors.toStdString();
  EXPECT_TRUE(refused.output.endsWith("((XX.ID=))\n")) << refused.output.toStdString();
}

// Work tables whose program was killed (its attachment is gone) are dropped
// when a query runs, whoever made them.
TEST_F(QueryCommandTest, RunningAQueryDropsWorkTablesLeftByProgramsThatAreGone) {
  {
    db::Database killed;
    host_.openArchive(killed);
    db::worktables::create(killed, "TMP_RISP_USER2_4_1",
                           {"CREATE TABLE TMP_RISP_USER2_4_1 (X INTEGER)"});
    db::worktables::create(killed, "TMP_ST_USER3_2", {"CREATE TABLE TMP_ST_USER3_2 (X INTEGER)"});
  }
  const CommandRun run = queryCommand({"--table", "LANCISTAMPA", "--run"});
  EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
  db::Database after;
  host_.openArchive(after);
  EXPECT_EQ(readOne(after,
                    "SELECT COUNT(*) FROM RDB$RELATIONS "
                    "WHERE RDB$RELATION_NAME STARTING WITH 'TMP_'"),
            "0");
}

TEST_F(QueryCommandTest, RunsTheQueryAndPrintsTheAnswerOrTheRefusal) {
  const QString rows = writeRows(
      "1\tCODICE\t1\n2\tIDLANCIOSTAMPA\t0\t(IDLANCIOSTAMPA=900)\n3\tLANCISTAMPA = A\t9\n"
      "4\tA.ID\t8\tIDLANCIOSTAMPA\n5\tA.DATA\t1\n6\tA.NOTE\t1\n");
  const CommandRun run = queryCommand({"--table", "ETICHETTE", "--rows", rows, "--run"});
  EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
  EXPECT_TRUE(run.output.startsWith("CODICE;DATA;NOTE\n")) << run.output.toStdString();
  EXPECT_EQ(sortedRecords(run.output),
            (QStringList{"Q1;02/05/2024;\"Prova; uno\"", "Q2;02/05/2024;\"Prova; uno\""}));

  const CommandRun wholeTable = queryCommand({"--table", "LANCISTAMPA", "--run"});
  EXPECT_EQ(wholeTable.exitCode, 0) << wholeTable.errors.toStdString();
  EXPECT_TRUE(wholeTable.output.startsWith("ID;DATA;NOTE;ESPORTATO;DATAEXPORT\n"));
  EXPECT_TRUE(wholeTable.output.contains("\n901;03/05/2024;seconda;;\n"))
      << wholeTable.output.toStdString();

  const CommandRun refused =
      queryCommand({"--table", "ETICHETTE", "--rows", writeRows("1\tID\t1\t(ID=)\n"), "--run"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_TRUE(refused.output.isEmpty()) << refused.output.toStdString();
  EXPECT_TRUE(refused.errors.contains(
      "Si prega di verificare la sintassi delle condizioni o dei collegamenti"))
      << refused.errors.toStdString();
  EXPECT_TRUE(refused.errors.contains("the database refused the statement: "));
  EXPECT_TRUE(refused.errors.contains("Token unknown")) << refused.errors.toStdString();
}

TEST_F(QueryCommandTest, SideBySidePartsAreJoinedByUnion) {
  const QString rows = writeRows(
      "1\tCODICE\t6\n2\tIDLANCIOSTAMPA\t0\t(IDLANCIOSTAMPA=900)\n3\tQUERY BLOCCATA\t7\n"
      "4\tETICHETTE\t9\tUNION\n5\tCODICE\t1\n6\tIDLANCIOSTAMPA\t0\t(IDLANCIOSTAMPA=901)\n"
      "7\tQUERY BLOCCATA\t7\tUNION\n");
  const CommandRun sql = queryCommand({"--table", "ETICHETTE", "--rows", rows, "--sql"});
  EXPECT_EQ(sql.exitCode, 0) << sql.errors.toStdString();
  const QStringList part{"SELECT", "XX.CODICE", "FROM ", "\"ETICHETTE\" XX ", "WHERE "};
  EXPECT_EQ(sql.output.toStdString(),
            printed(QStringList(part) << "((XX.IDLANCIOSTAMPA=900))"
                                      << "UNION" << part << "((XX.IDLANCIOSTAMPA=901))"));

  const CommandRun run = queryCommand({"--table", "ETICHETTE", "--rows", rows, "--run"});
  EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
  EXPECT_TRUE(run.output.startsWith("CODICE\n"));
  EXPECT_EQ(sortedRecords(run.output), (QStringList{"Q1", "Q2", "Q3"}));
}

TEST_F(QueryCommandTest, KeyedLockAndTwoPartsWithAJoinedTable) {
  // The rows the designer leaves after a keyed lock and two parts: the
  // first part's joined table is copied as a "UNION" header in each part.
  const QString rows = writeRows(
      "1\tCODICE\t6\n2\tIDLANCIOSTAMPA\t0\t(IDLANCIOSTAMPA=900)\n3\tLANCISTAMPA = A\t9\n"
      "4\tA.ID\t8\tIDLANCIOSTAMPA\n5\tA.NOTE\t6\n"
      "6\tQUERY BLOCCATA\t7\t184 191 188 189 186 187\n"
      "7\tETICHETTE\t9\tUNION\n8\tCODICE\t1\n9\tIDLANCIOSTAMPA\t0\t(IDLANCIOSTAMPA=901)\n"
      "10\tUNION\t9\n11\tA.ID\t8\tIDLANCIOSTAMPA\n12\tA.NOTE\t1\n"
      "13\tQUERY BLOCCATA\t7\tUNION\n"
      "14\tETICHETTE\t9\tUNION\n15\tCODICE\t1\t(CODICE='Q3')\n16\tIDLANCIOSTAMPA\t0\n"
      "17\tUNION\t9\n18\tA.ID\t8\tIDLANCIOSTAMPA\n19\tA.NOTE\t1\n"
      "20\tQUERY BLOCCATA\t7\tUNION\n");
  const CommandRun sql = queryCommand({"--table", "ETICHETTE", "--rows", rows, "--sql"});
  EXPECT_EQ(sql.exitCode, 0) << sql.errors.toStdString();
  const QStringList part{"SELECT",
                         "XX.CODICE,",
                         "A.NOTE",
                         "FROM ",
                         "\"ETICHETTE\" XX ",
                         "LEFT JOIN \"LANCISTAMPA\"  A",
                         "ON ((A.ID=XX.IDLANCIOSTAMPA))",
                         "WHERE "};
  EXPECT_EQ(sql.output.toStdString(),
            printed(QStringList(part) << "((XX.IDLANCIOSTAMPA=900))"
                                      << "UNION" << part << "((XX.IDLANCIOSTAMPA=901))"
                                      << "UNION" << part << "((XX.CODICE='Q3'))"));

  const CommandRun run = queryCommand({"--table", "ETICHETTE", "--rows", rows, "--run"});
  EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
  EXPECT_TRUE(run.output.startsWith("CODICE;NOTE\n")) << run.output.toStdString();
  // UNION keeps Q3 once although two parts find it.
  EXPECT_EQ(sortedRecords(run.output),
            (QStringList{"Q1;\"Prova; uno\"", "Q2;\"Prova; uno\"", "Q3;seconda"}));
}

TEST_F(QueryCommandTest, RunningSumsArePrintedFromTheLocalTable) {
  // The sums follow CODICE descending; --run prints the local table's rows,
  // columns and order.
  const QString rows = writeRows(
      "1\tID\t1\t(ID>=9001)\n2\tCODICE\t1\n"
      "3\tDESCRIZIONE\t0\t(CALC (SOMMAPROG(ID, CODICE)) AS PROGR)\n");
  const CommandRun run = queryCommand({"--table", "ETICHETTE", "--rows", rows, "--run"});
  EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
  EXPECT_EQ(run.output.split('\n', Qt::SkipEmptyParts),
            (QStringList{"ID;CODICE;PROGR", "9001;Q1;9001", "9002;Q2;18003", "9003;Q3;27006"}));
  EXPECT_TRUE(QFile::exists(host_.native("bin/QUERY/RISPTMP/SUMPROG/SUMPROG.DB")));
  // The work table in the archive went with the command.
  db::Database database;
  host_.openArchive(database);
  EXPECT_EQ(readOne(database,
                    "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME STARTING WITH "
                    "'TMP_RISP_'"),
            "0");

  const CommandRun missing = queryCommand(
      {"--table", "ETICHETTE", "--rows",
       writeRows("1\tID\t1\n2\tCODICE\t0\t(CALC (INTEROQUOV(QTA)) AS INTERO)\n"), "--run"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(missing.errors.contains("Campo 'QTA' non trovato")) << missing.errors.toStdString();
}

TEST_F(QueryCommandTest, WrongRequestsAndFilesAreRefusedWithAReason) {
  const QString good = writeRows("1\tID\t1\n");
  EXPECT_EQ(queryCommand({"--table", "ETICHETTE"}).exitCode, 2) << "neither --sql nor --run";
  EXPECT_EQ(queryCommand({"--table", "ETICHETTE", "--sql", "--run"}).exitCode, 2);
  const CommandRun noTable = runOrbelan({"query", "--user", "1", "--sql"});
  EXPECT_EQ(noTable.exitCode, 2);
  EXPECT_TRUE(noTable.errors.contains("orbelan query --user N --table T"));

  const CommandRun notAName = queryCommand({"--table", "ETICHETTE XX; --", "--sql"});
  EXPECT_EQ(notAName.exitCode, 2);
  EXPECT_TRUE(notAName.errors.contains("is not a table name")) << notAName.errors.toStdString();

  const CommandRun missingTable = queryCommand({"--table", "MAGAZZINO", "--rows", good, "--sql"});
  EXPECT_EQ(missingTable.exitCode, 1);
  EXPECT_TRUE(missingTable.errors.contains("has no table MAGAZZINO"))
      << missingTable.errors.toStdString();
  EXPECT_TRUE(missingTable.output.isEmpty());

  const QString bad = writeRows("1\tID\t1\n2\tCODICE\t1\n3\tNOTE\t5\n");
  const CommandRun malformed = queryCommand({"--table", "ETICHETTE", "--rows", bad, "--run"});
  EXPECT_EQ(malformed.exitCode, 1);
  EXPECT_TRUE(malformed.errors.contains(bad + ", line 3: Mostra \"5\""))
      << malformed.errors.toStdString();
  EXPECT_TRUE(malformed.output.isEmpty());

  const CommandRun unreadable =
      queryCommand({"--table", "ETICHETTE", "--rows", host_.native("nessuno.txt"), "--sql"});
  EXPECT_EQ(unreadable.exitCode, 1);
  EXPECT_TRUE(unreadable.errors.contains("cannot read the rows file"));
}

}  // namespace

TEST_F(QueryCommandTest, CodesAddSortKeysAndGroupDigits) {
  const QString rows = writeRows(
      "1\tCODICE\t1\n2\tID\t0\t(CALC (CAST(ID AS DOUBLE PRECISION)*1000.5) AS IMPORTO)\n"
      "3\tIDLANCIOSTAMPA\t0\t(IDLANCIOSTAMPA=900)\n");
  const CommandRun sql =
      queryCommand({"--table", "ETICHETTE", "--rows", rows, "--codes", "1=10100,2=1", "--sql"});
  EXPECT_EQ(sql.exitCode, 0) << sql.errors.toStdString();
  EXPECT_TRUE(sql.output.endsWith("ORDER BY\n1 DESCENDING\n")) << sql.output.toStdString();

  const CommandRun run =
      queryCommand({"--table", "ETICHETTE", "--rows", rows, "--codes", "1=10100,2=1", "--run"});
  ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
  const QStringList lines = run.output.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3) << run.output.toStdString();
  EXPECT_TRUE(lines[1].startsWith("Q2;")) << "descending on the code";
  // 9002 * 1000.5 with thousands separators and two decimals, in the
  // machine's number format.
  QString amount = lines[1].section(';', 1).remove('"');
  EXPECT_EQ(amount.size(), QString("9.006.501,00").size()) << amount.toStdString();
  EXPECT_EQ(amount.remove(QRegularExpression("[^0-9]")), "900650100");

  EXPECT_EQ(queryCommand({"--table", "ETICHETTE", "--codes", "0=1", "--sql"}).exitCode, 2);
  EXPECT_EQ(queryCommand({"--table", "ETICHETTE", "--codes", "1=123456", "--sql"}).exitCode, 2);
}

TEST_F(QueryCommandTest, ExportsTheAnswerAsTheExportSettingsDo) {
  const QString rows =
      writeRows("1\tCODICE\t1\n2\tIDLANCIOSTAMPA\t0\t(IDLANCIOSTAMPA=900)\n3\tDESCRIZIONE\t1\n");
  const QString file = host_.native("export.txt");
  const CommandRun text = queryCommand(
      {"--table", "ETICHETTE", "--rows", rows, "--export", file, "--type", "Testo", "--fixed"});
  EXPECT_EQ(text.exitCode, 0) << text.errors.toStdString();
  EXPECT_TRUE(text.errors.contains("EXPORT SU FILE TERMINATO !!!")) << text.errors.toStdString();
  QFile written(file);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  QList<QByteArray> lines = written.readAll().split('\n');
  ASSERT_EQ(lines.size(), 4);
  EXPECT_TRUE(lines[3].isEmpty()) << "every line ends with CR LF";
  // Fixed length: each field as wide as its column, then "|".
  EXPECT_EQ(lines[0],
            "CODICE" + QByteArray(34, ' ') + "|DESCRIZIONE" + QByteArray(69, ' ') + "|\r");
  QList<QByteArray> records{lines[1], lines[2]};
  std::sort(records.begin(), records.end());
  EXPECT_EQ(records[0], "Q1" + QByteArray(38, ' ') + "|Giacca blu" + QByteArray(70, ' ') + "|\r");

  const CommandRun table =
      queryCommand({"--table", "ETICHETTE", "--rows", rows, "--export", "COPIA", "--type", "IB"});
  EXPECT_EQ(table.exitCode, 0) << table.errors.toStdString();
  EXPECT_TRUE(table.errors.contains("EXPORT SU TABELLA IN FORMATO INTERBASE TERMINATO !!!"));
  db::Database database;
  host_.openArchive(database);
  EXPECT_EQ(readOne(database, "SELECT COUNT(*) FROM COPIA WHERE CODICE IN ('Q1','Q2')"), "2");
  database.detach();

  // The same table again: refused, and the first one is kept.
  const CommandRun again =
      queryCommand({"--table", "ETICHETTE", "--rows", rows, "--export", "COPIA", "--type", "IB"});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_TRUE(again.errors.contains("E' avvenuto un errore durante l'esportazione"));

  EXPECT_EQ(queryCommand({"--table", "ETICHETTE", "--export", file, "--type", "Word"}).exitCode, 2);
  EXPECT_EQ(queryCommand({"--table", "ETICHETTE", "--export", file}).exitCode, 2);
  EXPECT_EQ(queryCommand({"--table", "ETICHETTE", "--run", "--fixed"}).exitCode, 2);
}

namespace {

QString pdfText(const QString& pdf) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  process.waitForFinished(30000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

TEST_F(QueryCommandTest, PrintsTheAnswerIntoAPdfAndLeavesItsLayout) {
  const QString pdf = host_.native("stampa.pdf");
  const CommandRun advanced =
      queryCommand({"--table", "lancistampa", "--codes", "1=10", "--print-pdf", pdf, "--landscape",
                    "--title", "Lanci di prova", "--notes", "solo test"});
  ASSERT_EQ(advanced.exitCode, 0) << advanced.errors.toStdString();
  const QString text = pdfText(pdf);
  for (const char* expected :
       {"Lanci di prova", "solo test", "ID", "NOTE", "Prova; uno", "seconda", "901"})
    EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected << "\n" << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Pagina n\u00B0")));
  QFile layout(host_.native("bin/Report/QuovTemp.lst"));
  ASSERT_TRUE(layout.open(QIODevice::ReadOnly));
  const QByteArray bytes = layout.readAll();
  EXPECT_TRUE(bytes.contains(" Orientation=2\r\n"));
  EXPECT_TRUE(bytes.contains("Text=\xA8Totale.ID\xA8")) << "the total of column 1";

  const CommandRun simple = queryCommand(
      {"--table", "lancistampa", "--print-pdf", pdf, "--print-type", "1", "--no-page-numbers"});
  ASSERT_EQ(simple.exitCode, 0) << simple.errors.toStdString();
  EXPECT_TRUE(pdfText(pdf).contains("|ID"));
  EXPECT_FALSE(pdfText(pdf).contains(QStringLiteral("Pagina N\u00B0")));

  const CommandRun text2 = queryCommand({"--table", "lancistampa", "--print-pdf", pdf,
                                         "--print-type", "2", "--title", "Lanci veloci"});
  ASSERT_EQ(text2.exitCode, 0) << text2.errors.toStdString();
  const QString lines = pdfText(pdf);
  for (const char* expected : {"Lanci veloci", "|ID", "Prova; uno", "901"})
    EXPECT_TRUE(lines.contains(QLatin1String(expected))) << expected << "\n" << lines.toStdString();

  ASSERT_TRUE(QFile::remove(host_.native("bin/report/TEXT.rpt")));
  const CommandRun missing =
      queryCommand({"--table", "lancistampa", "--print-pdf", pdf, "--print-type", "2"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(missing.errors.contains("ATTENZIONE: directory bin errata o CRW non inizializzato"))
      << missing.errors.toStdString();
  EXPECT_EQ(queryCommand({"--table", "lancistampa", "--run", "--landscape"}).exitCode, 2);
}

TEST_F(QueryCommandTest, WideValuesAreExportedWhole) {
  // A timestamp, a BIGINT above 2^53, an exact numeric and a double of
  // eleven significant digits: none of them fits the widths the columns
  // used to get (18, 15, 10, 10).
  {
    db::Database database;
    host_.openArchive(database);
    runStatement(database,
                 "CREATE TABLE VALORI (ID INTEGER, QUANDO TIMESTAMP, GRANDE BIGINT, "
                 "IMPORTO NUMERIC(15,3), MISURA DOUBLE PRECISION)");
    runStatement(database,
                 "INSERT INTO VALORI VALUES (1, '2024-05-03 13:45:30', 9007199254740993, "
                 "123456789012.125, 98765432.125)");
  }
  const QString file = host_.native("valori.txt");
  const CommandRun text =
      queryCommand({"--table", "VALORI", "--export", file, "--type", "Testo", "--fixed"});
  ASSERT_EQ(text.exitCode, 0) << text.errors.toStdString();
  QFile written(file);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = written.readAll().split('\n');
  ASSERT_GE(lines.size(), 2);
  QList<QByteArray> fields = lines[1].split('|');
  for (QByteArray& field : fields) field = field.trimmed();
  EXPECT_EQ(fields.value(1), "03/05/2024 13:45:30");
  EXPECT_EQ(fields.value(2), "9007199254740993");
  EXPECT_EQ(fields.value(3), "123456789012.125");
  EXPECT_EQ(fields.value(4), "98765432.125");
}

TEST_F(QueryCommandTest, AFailedWorkbookExportNamesTheFileChosen) {
  {
    // More columns than a .xls sheet takes.
    db::Database database;
    host_.openArchive(database);
    QStringList columns;
    for (int i = 1; i <= 257; ++i) columns << QStringLiteral("C%1 INTEGER").arg(i);
    runStatement(database, "CREATE TABLE LARGA (" + columns.join(',') + ")");
    runStatement(database, "INSERT INTO LARGA (C1) VALUES (1)");
  }
  const QString file = host_.native("larga.xls");
  const CommandRun workbook =
      queryCommand({"--table", "LARGA", "--export", file, "--type", "Excel"});
  EXPECT_EQ(workbook.exitCode, 1);
  EXPECT_TRUE(workbook.errors.contains("larga.xls non è stato creato"))
      << workbook.errors.toStdString();
  EXPECT_FALSE(workbook.errors.contains(".tmp")) << workbook.errors.toStdString();
  EXPECT_FALSE(QFile::exists(file));
}

}  // namespace
