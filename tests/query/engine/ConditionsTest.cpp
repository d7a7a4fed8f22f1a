#include <gtest/gtest.h>

#include "Rows.h"
#include "query/engine/Clipboard.h"
#include "query/engine/Conditions.h"
#include "query/engine/InvertiGiornoMese.h"

namespace {

using namespace enginetest;
using namespace query::engine;

TEST(Conditions, ComputedColumnTexts) {
  struct {
    const char* condition;
    const char* calc;
    const char* extract;
  } const cases[] = {
      {"(CALC (PREZZO*QTA) AS IMPORTO)", " (PREZZO*QTA) AS IMPORTO", ""},
      {"(Calc (Sum(X)) as Tot)", " (Sum(X)) as Tot", ""},
      {"(CALC (A*B))", " (A*B)", ""},
      {"(calc(A*(B+C)) as x", "(A*(B+C)) as x", ""},  // unclosed group: up to the end
      {"(EXTRACT (YEAR from DATADOC)) AS Anno", "", "(EXTRACT (YEAR FROM DATADOC)) AS ANNO"},
      {"extract(month from d)", "", "EXTRACT(MONTH FROM D)"},
      {"calcio", "", ""},
      {"CALC", "", ""},
      {"ricalc (x)", "", ""},
      {"extraction", "", ""},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.condition);
    EXPECT_EQ(EstraiCalc(c.condition).toStdString(), c.calc);
    EXPECT_EQ(EstraiExtract(c.condition).toStdString(), c.extract);
  }
  EXPECT_EQ(classify("(CALC (A*B))"), ConditionKind::Calc);
  EXPECT_EQ(classify("(EXTRACT (YEAR FROM D)) AS ANNO"), ConditionKind::Extract);
  EXPECT_EQ(classify("(PREZZO>1)"), ConditionKind::Raw);
  EXPECT_EQ(classify("calcio"), ConditionKind::Contains);
  EXPECT_EQ(classify(""), ConditionKind::Empty);
}

TEST(Conditions, AggregatesAreCallsNotLetters) {
  for (const char* yes :
       {"SUM(X)", " (Sum (X)) as T", "count(*)", "MIN  (A)", "x+max(b)", "AVG(Q)"})
    EXPECT_TRUE(TestGroupBy(yes)) << yes;
  for (const char* no :
       {"MINUTI", " (MINUTI*60) AS SECONDI", "SUMMA", "MAXIMUM(A)", "MYSUM(A)", "COUNTER", ""})
    EXPECT_FALSE(TestGroupBy(no)) << no;
}

TEST(Conditions, AliasLeavesTheGroupingExpression) {
  EXPECT_EQ(withoutAlias("(EXTRACT (YEAR FROM D)) AS ANNO"), "(EXTRACT (YEAR FROM D))");
  EXPECT_EQ(withoutAlias("EXTRACT(YEAR FROM D)"), "EXTRACT(YEAR FROM D)");
  EXPECT_EQ(withoutAlias("(CAST(D AS DATE)) AS X"), "(CAST(D AS DATE))");
  EXPECT_EQ(withoutAlias("(CAST(D AS DATE))"), "(CAST(D AS DATE))");
}

TEST(InvertiGiornoMese, DayFirstDatesBecomeMonthFirst) {
  struct {
    const char* in;
    const char* out;
  } const cases[] = {
      {"(XX.DATADOC='1/3/2005')", "(XX.DATADOC='3/1/2005')"},
      {"(D>='31/03/2005')AND(D<='01/04/2005')", "(D>='03/31/2005')AND(D<='04/01/2005')"},
      {"(D='31/12/05') ", "(D='12/31/05') "},
      {"(D='1/12/05') ", "(D='12/1/05') "},
      {"('1/3/2005')", "('3/1/2005')"},  // first "/" at the fourth character
      {"(D='1/3/05') ", "(D='3/1/05') "},
      // Too close to an end: the first "/" within the last six characters, or
      // among the first three.
      {"(D='1/3/05')", "(D='1/3/05')"},
      {"'1/3/2005' AND X=1", "'1/3/2005' AND X=1"},
      // The first closing apostrophe decides: no "/" where it needs one.
      {"(D='1/3x05') ", "(D='1/3x05') "},
      {"(X=1/3/2005+1)", "(X=1/3/2005+1)"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(InvertiGiornoMese(c.in).toStdString(), c.out) << c.in;
}

TEST(DeterminaTipoCampo, PlainNamesFromTheMainTableQualifiedFromTheirJoin) {
  const auto run = rows({shown("CODICE"), leftJoin("LANCISTAMPA", "A"),
                         key("A.ID", "IDLANCIOSTAMPA"), shown("A.NOTE"),
                         rightJoin("ACQUISIZIONI", "B"), key("B.ID", "A.ID"), hidden("B.FILE")});
  const auto types = fieldTypes();
  EXPECT_EQ(DeterminaTipoCampo("DATADOC", run, "ETICHETTE", types), db::FieldType::Date);
  EXPECT_EQ(DeterminaTipoCampo("A.NOTE", run, "ETICHETTE", types), db::FieldType::String);
  EXPECT_EQ(DeterminaTipoCampo("B.FILE", run, "ETICHETTE", types), db::FieldType::Memo);
  EXPECT_EQ(DeterminaTipoCampo("B.ID", run, "ETICHETTE", types), db::FieldType::Integer);
  EXPECT_EQ(DeterminaTipoCampo("C.X", run, "ETICHETTE", types), db::FieldType::Unknown);
  EXPECT_EQ(DeterminaTipoCampo("NESSUNO", run, "ETICHETTE", types), db::FieldType::Unknown);
  const auto orphan = rows({hidden("A.NOTE")});
  EXPECT_EQ(DeterminaTipoCampo("A.NOTE", orphan, "ETICHETTE", types), db::FieldType::Unknown);
}

TEST(Clipboard, EverySingleQuoteIsDoubled) {
  EXPECT_EQ(clipboardLines({"WHERE ", "((XX.STATO='ABC')) and", "((X=''))"}),
            QStringList({"WHERE ", "((XX.STATO=''ABC'')) and", "((X=''''))"}));
}

}  // namespace
