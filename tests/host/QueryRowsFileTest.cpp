#include <gtest/gtest.h>

#include "AnswerLine.h"
#include "QueryRowsFile.h"

namespace {

using query::model::Row;

TEST(QueryRowsFileTest, ReadsRowsAndDerivesTheDesignerFlags) {
  struct Case {
    const char* what;
    QByteArray text;
    QList<Row> rows;
    bool locked;
    bool sideBySide;
  };
  const QList<Case> cases{
      {"three fields mean an empty condition; CR LF, a BOM and blank lines are fine",
       "\xEF\xBB\xBF"
       "1\tCODICE\t1\r\n\r\n2\tDESCRIZIONE\t0\tl'abito\r\n",
       {{1, "CODICE", 1, ""}, {2, "DESCRIZIONE", 0, "l'abito"}},
       false,
       false},
      {"UTF-8 text and a join",
       "1\tCITTA\t1\tforl\xC3\xAC\n3\tLANCISTAMPA = A\t9\tP\n4\tA.ID\t8\tIDLANCIOSTAMPA\n"
       "7\tA.NOTE\t1\t(A.NOTE IS NULL)\n",
       {{1, "CITTA", 1, QString::fromUtf8("forl\xC3\xAC")},
        {3, "LANCISTAMPA = A", 9, "P"},
        {4, "A.ID", 8, "IDLANCIOSTAMPA"},
        {7, "A.NOTE", 1, "(A.NOTE IS NULL)"}},
       false,
       false},
      {"a lock row at the end locks",
       "1\tID\t1\n2\tQUERY BLOCCATA\t7\t\n",
       {{1, "ID", 1, ""}, {2, "QUERY BLOCCATA", 7, ""}},
       true,
       false},
      {"a part after the lock row makes a side-by-side query",
       "1\tID\t6\n2\tQUERY BLOCCATA\t7\n3\tETICHETTE\t9\tUNION\n4\tID\t1\n"
       "5\tQUERY BLOCCATA\t7\tUNION\n",
       {{1, "ID", 6, ""},
        {2, "QUERY BLOCCATA", 7, ""},
        {3, "ETICHETTE", 9, "UNION"},
        {4, "ID", 1, ""},
        {5, "QUERY BLOCCATA", 7, "UNION"}},
       true,
       true},
  };
  for (const Case& c : cases) {
    const host::QueryRowsFile file = host::parseQueryRows(c.text);
    ASSERT_TRUE(file.ok()) << c.what << ": line " << file.faultLine << " "
                           << file.fault.toStdString();
    EXPECT_EQ(file.rows, c.rows) << c.what;
    EXPECT_EQ(file.flags.locked, c.locked) << c.what;
    EXPECT_EQ(file.flags.sideBySide, c.sideBySide) << c.what;
  }
}

TEST(QueryRowsFileTest, RefusesAMalformedLineNamingIt) {
  const QByteArray good = "1\tID\t1\n";
  struct Case {
    QByteArray text;
    int line;
    const char* reason;
  };
  const QList<Case> cases{
      {good + "2\tCODICE\n", 2, "2 fields"},
      {good + "2\tCODICE\t1\tx\ty\n", 2, "5 fields"},
      {good + "due\tCODICE\t1\n", 2, "Numero \"due\" is not an integer"},
      {good + "40000\tCODICE\t1\n", 2, "not an integer of 16 bits"},
      {good + "\n1\tCODICE\t1\n", 3, "Numero 1 does not follow 1"},
      {good + "2\tCODICE\t2\n", 2, "Mostra \"2\" is not one of 0 1 3 6 7 8 9"},
      {good + "2\tCODICE\tx\n", 2, "Mostra \"x\""},
      {good + "2\t\t1\n", 2, "Nome is empty"},
      {good + "2\t" + QByteArray(32, 'A') + "\t1\n", 2, "more than 31 characters"},
      {good + "2\tCODICE\t1\t" + QByteArray(1025, 'x') + "\n", 2, "more than 1024"},
      {good + "2\tCOD\xE8\t1\n", 2, "not UTF-8"},
      {good + "2\tID, (SELECT 1)\t1\n", 2, "a field row is named"},
      {good + "2\tLANCI\"X = A\t9\n", 2, "a header (kind 9)"},
      {good + "2\tLANCISTAMPA\t3\n", 2, "a header (kind 3)"},
      {good + "2\tID\t8\tID\n", 2, "a link key (kind 8)"},
      {good + "2\tBLOCCO\t7\n", 2, "a lock row (kind 7)"},
      {"", 1, "no rows"},
      {"\r\n\n", 1, "no rows"},
  };
  for (const Case& c : cases) {
    const host::QueryRowsFile file = host::parseQueryRows(c.text);
    EXPECT_FALSE(file.ok()) << c.text.toStdString();
    EXPECT_EQ(file.faultLine, c.line) << c.text.toStdString();
    EXPECT_TRUE(file.fault.contains(QLatin1String(c.reason)))
        << c.text.toStdString() << " -> " << file.fault.toStdString();
    EXPECT_TRUE(file.rows.isEmpty());
  }
}

TEST(AnswerLineTest, QuotesOnlyTheValuesThatWouldBreakTheLine) {
  const QList<QPair<QStringList, QString>> cases{
      {{"A1", "", "12,50", "31/03/2005"}, "A1;;12,50;31/03/2005"},
      {{"a;b", "x"}, "\"a;b\";x"},
      {{"due\nrighe", "dice \"ciao\""}, "\"due\nrighe\";\"dice \"\"ciao\"\"\""},
      {{"l'abito"}, "l'abito"},
      {{}, ""},
  };
  for (const auto& [values, line] : cases) EXPECT_EQ(host::answerLine(values), line);
}

}  // namespace
