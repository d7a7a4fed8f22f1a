#include <gtest/gtest.h>

#include "Rows.h"
#include "query/engine/Statement.h"

// Typed conditions that must give a statement that runs and does what the
// user asked.
namespace {

using namespace enginetest;
using query::engine::buildStatement;

QStringList statementOf(const QList<Row>& run) {
  return buildStatement(run, 1, static_cast<int>(run.size()), "ETICHETTE", fieldTypes()).lines;
}

QString search(const QString& field, const QString& text) {
  return QStringLiteral("((UPPER (CAST(%1 AS CHARACTER(256)) ) LIKE UPPER('%%2%')))")
      .arg(field, text);
}

TEST(SoundStatement, SearchedTextIsAValue) {
  const auto lines = statementOf(rows({hidden("DESCRIZIONE", "l'abito"), hidden("NOTE", "d'oro"),
                                       leftJoin("LANCISTAMPA", "A", "P"),
                                       key("A.ID", "IDLANCIOSTAMPA"), hidden("A.NOTE", "o'k")}));
  EXPECT_TRUE(lines.contains(search("XX.DESCRIZIONE", "L''ABITO") + " and"));
  EXPECT_TRUE(lines.contains("((UPPER(XX.NOTE) LIKE ('%D''ORO%')))"));
  EXPECT_TRUE(
      lines.contains("ON ((A.ID=XX.IDLANCIOSTAMPA) AND ((UPPER (CAST(A.NOTE AS "
                     "CHARACTER(256)) ) LIKE UPPER('%o''k%'))))"));
}

TEST(SoundStatement, SearchedTextKeepsTheFieldsNameAsTyped) {
  const auto lines =
      statementOf(rows({hidden("CODICE", "CODICE1"), hidden("STATO", "(STATO='a' OR STATO='b')")}));
  EXPECT_EQ(lines.mid(3), QStringList({"WHERE ", search("XX.CODICE", "CODICE1") + " and",
                                       "((XX.STATO='A' OR XX.STATO='B'))"}));
}

TEST(SoundStatement, WordsLikeCalcAreSearchedFor) {
  const auto lines = statementOf(rows(
      {shown("CODICE", "calcio"), hidden("DESCRIZIONE", "extra"), hidden("NOTE", "Extraction")}));
  EXPECT_EQ(lines, QStringList({"SELECT", "XX.CODICE", "FROM ", "\"ETICHETTE\" XX ", "WHERE ",
                                search("XX.CODICE", "CALCIO") + " and",
                                search("XX.DESCRIZIONE", "EXTRA") + " and",
                                "((UPPER(XX.NOTE) LIKE ('%EXTRACTION%')))"}));
}

TEST(SoundStatement, NamesHoldingAggregateLettersBringNoGrouping) {
  const auto lines =
      statementOf(rows({shown("CODICE"), shown("MINUTI", "(CALC (MINUTI*60) AS SECONDI)")}));
  EXPECT_EQ(lines, QStringList({"SELECT", "XX.CODICE,", "XX.MINUTI,", " (MINUTI*60) AS SECONDI",
                                "FROM ", "\"ETICHETTE\" XX "}));
}

TEST(SoundStatement, ExtractedYearAndMonthAreGroupedBesideASum) {
  const auto lines = statementOf(
      rows({shown("CAUSALE"), hidden("DATADOC", "(EXTRACT (YEAR from DATADOC)) AS Anno"),
            hidden("DATADOC", "(EXTRACT (MONTH from DATADOC)) AS Mese"),
            hidden("IDACQUISIZIONE", "(Calc (Sum(IDACQUISIZIONE)) as Tot)")}));
  EXPECT_EQ(render(lines),
            render({"SELECT", "XX.CAUSALE,", "(EXTRACT (YEAR FROM DATADOC)) AS ANNO,",
                    "(EXTRACT (MONTH FROM DATADOC)) AS MESE,", " (Sum(IDACQUISIZIONE)) as Tot",
                    "FROM ", "\"ETICHETTE\" XX ", "GROUP BY", "XX.CAUSALE,",
                    "(EXTRACT (YEAR FROM DATADOC)),", "(EXTRACT (MONTH FROM DATADOC))"}));
  // No shown field: the extraction alone is grouped.
  const auto alone = statementOf(rows({hidden("DATADOC", "(EXTRACT (YEAR from DATADOC)) AS Anno"),
                                       hidden("IDACQUISIZIONE", "(CALC (COUNT(*)) AS N)")}));
  EXPECT_EQ(alone.mid(alone.indexOf("GROUP BY")),
            QStringList({"GROUP BY", "(EXTRACT (YEAR FROM DATADOC))"}));
}

// A P join's conditions stay in its ON: also on a field frozen by a
// side-by-side part, and a formula on one of its fields stays a column.
TEST(SoundStatement, PJoinKeepsItsConditionsAndFormulasApart) {
  const auto lines = statementOf(
      rows({leftJoin("LANCISTAMPA", "A", "P"), key("A.ID", "IDLANCIOSTAMPA"),
            frozen("A.NOTE", "(A.NOTE<>'x')"), hidden("A.ID", "(CALC (A.ID*2) AS D)")}));
  EXPECT_EQ(render(lines), render({"SELECT", "A.NOTE,", " (A.ID*2) AS D", "FROM ",
                                   "\"ETICHETTE\" XX ", "LEFT JOIN \"LANCISTAMPA\"  A",
                                   "ON ((A.ID=XX.IDLANCIOSTAMPA) AND ((A.NOTE<>'x')))"}));
}

TEST(SoundStatement, MemoSearchIgnoresLetterCaseAlsoWithAFullStop) {
  const auto lines = statementOf(rows({hidden("NOTE", "rossi.it")}));
  EXPECT_EQ(lines.last(), "((UPPER(XX.NOTE) LIKE ('%ROSSI.IT%')))");
}

TEST(SoundStatement, DatesOfRawPredicatesAreMonthFirst) {
  EXPECT_EQ(statementOf(rows({hidden("DATADOC", "(DATADOC='1/3/2005')")})).last(),
            "((XX.DATADOC='3/1/2005'))");
  EXPECT_EQ(statementOf(rows({hidden("DATADOC", "(D='1/3/05')")})).last(), "((D='1/3/05'))");
}

}  // namespace
