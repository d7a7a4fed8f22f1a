#include <gtest/gtest.h>

#include "Rows.h"
#include "query/engine/Statement.h"

namespace {

using namespace enginetest;
using query::engine::buildStatement;

struct Case {
  const char* name;
  QList<Row> rows;
  QStringList lines;
};

void expectStatements(const QList<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto statement =
        buildStatement(c.rows, 1, static_cast<int>(c.rows.size()), "ETICHETTE", fieldTypes());
    EXPECT_EQ(render(statement.lines), render(c.lines));
    EXPECT_FALSE(statement.postSteps);
  }
}

TEST(Statement, WorkedExamplesComeOutLineForLine) {
  expectStatements({
      {"search and raw predicate",
       rows({shown("CODICE"), shown("DESCRIZIONE", "rossi"),
             hidden("IDLANCIOSTAMPA", "(IDLANCIOSTAMPA>=10)")}),
       {"SELECT", "XX.CODICE,", "XX.DESCRIZIONE", "FROM ", "\"ETICHETTE\" XX ", "WHERE ",
        "((UPPER (CAST(XX.DESCRIZIONE AS CHARACTER(256)) ) LIKE UPPER('%ROSSI%'))) and",
        "((XX.IDLANCIOSTAMPA>=10))"}},
      {"left join",
       rows({shown("CODICE"), leftJoin("LANCISTAMPA", "A"), key("A.ID", "IDLANCIOSTAMPA"),
             shown("A.NOTE")}),
       {"SELECT", "XX.CODICE,", "A.NOTE", "FROM ", "\"ETICHETTE\" XX ",
        "LEFT JOIN \"LANCISTAMPA\"  A", "ON ((A.ID=XX.IDLANCIOSTAMPA))"}},
      {"left join with conditions before the join",
       rows({shown("CODICE"), leftJoin("LANCISTAMPA", "A", "P"), key("A.ID", "IDLANCIOSTAMPA"),
             shown("A.NOTE", "rossi")}),
       {"SELECT", "XX.CODICE,", "A.NOTE", "FROM ", "\"ETICHETTE\" XX ",
        "LEFT JOIN \"LANCISTAMPA\"  A",
        "ON ((A.ID=XX.IDLANCIOSTAMPA) AND ((UPPER (CAST(A.NOTE AS CHARACTER(256)) ) LIKE "
        "UPPER('%rossi%'))))"}},
      {"aggregate",
       rows({shown("CAUSALE"), hidden("IDACQUISIZIONE", "(Calc (Sum(IDACQUISIZIONE)) as Tot)")}),
       {"SELECT", "XX.CAUSALE,", " (Sum(IDACQUISIZIONE)) as Tot", "FROM ", "\"ETICHETTE\" XX ",
        "GROUP BY", "XX.CAUSALE"}},
  });
}

TEST(Statement, EveryRowKindHasItsPlace) {
  expectStatements({
      {"hidden, shown and frozen fields; the lock row gives nothing",
       rows({hidden("CODICE"), shown("DESCRIZIONE"), frozen("NOTE", "x"), lock("12 200 31")}),
       {"SELECT", "XX.DESCRIZIONE,", "XX.NOTE", "FROM ", "\"ETICHETTE\" XX ", "WHERE ",
        "((UPPER(XX.NOTE) LIKE ('%X%')))"}},
      {"right join, key on an earlier joined table",
       rows({shown("CODICE"), leftJoin("LANCISTAMPA", "A"), key("A.ID", "IDLANCIOSTAMPA"),
             rightJoin("ACQUISIZIONI", "B"), key("B.ID", "A.ID"), key("B.ID", "IDACQUISIZIONE"),
             hidden("B.FILE")}),
       {"SELECT", "XX.CODICE", "FROM ", "(\"ETICHETTE\" XX ", "LEFT JOIN \"LANCISTAMPA\"  A",
        "ON ((A.ID=XX.IDLANCIOSTAMPA)))", "RIGHT JOIN \"ACQUISIZIONI\"  B",
        "ON ((B.ID=A.ID) AND (B.ID=XX.IDACQUISIZIONE))"}},
      {"conditions of a plain join's fields go to WHERE, letter case of a qualified raw kept",
       rows({leftJoin("LANCISTAMPA", "A"), key("A.ID", "IDLANCIOSTAMPA"), hidden("A.NOTE", "x"),
             hidden("A.ID", "(A.ID>1.5)")}),
       {"SELECT", "FROM ", "\"ETICHETTE\" XX ", "LEFT JOIN \"LANCISTAMPA\"  A",
        "ON ((A.ID=XX.IDLANCIOSTAMPA))", "WHERE ",
        "((UPPER (CAST(A.NOTE AS CHARACTER(256)) ) LIKE UPPER('%X%'))) and", "((A.ID>1.5))"}},
      {"raw predicate without a full stop is upper-cased and qualified",
       rows({shown("STATO", "(STATO='a')"), hidden("PREZZO", "(PREZZO>1.5)")}),
       {"SELECT", "XX.STATO", "FROM ", "\"ETICHETTE\" XX ", "WHERE ", "((XX.STATO='A')) and",
        "((PREZZO>1.5))"}},
      {"memo and blob fields are searched without a cast",
       rows({hidden("FOTO", "abc")}),
       {"SELECT", "FROM ", "\"ETICHETTE\" XX ", "WHERE ", "((UPPER(XX.FOTO) LIKE ('%ABC%')))"}},
      {"a join option other than P is not pasted into the table name",
       rows({leftJoin("LANCISTAMPA", "A", "X"), key("A.ID", "IDLANCIOSTAMPA")}),
       {"SELECT", "FROM ", "\"ETICHETTE\" XX ", "LEFT JOIN \"LANCISTAMPA\"  A",
        "ON ((A.ID=XX.IDLANCIOSTAMPA))"}},
      {"the (Set) column of a formula is qualified with the main table",
       rows({hidden("CODICE", "(CALC (COALESCE((set), 0)) AS S)")}),
       {"SELECT", " (COALESCE((\"ETICHETTE\".\"Set\"), 0)) AS S", "FROM ", "\"ETICHETTE\" XX "}},
  });
}

TEST(Statement, JoinsNestFromTheLeft) {
  expectStatements({
      {"three joins",
       rows({shown("CODICE"), leftJoin("LANCISTAMPA", "A"), key("A.ID", "IDLANCIOSTAMPA"),
             leftJoin("ACQUISIZIONI", "B"), key("B.ID", "IDACQUISIZIONE"),
             rightJoin("LANCISTAMPA", "C"), key("C.ID", "A.ID")}),
       {"SELECT", "XX.CODICE", "FROM ", "((\"ETICHETTE\" XX ", "LEFT JOIN \"LANCISTAMPA\"  A",
        "ON ((A.ID=XX.IDLANCIOSTAMPA)))", "LEFT JOIN \"ACQUISIZIONI\"  B",
        "ON ((B.ID=XX.IDACQUISIZIONE)))", "RIGHT JOIN \"LANCISTAMPA\"  C", "ON ((C.ID=A.ID))"}},
      {"a P join beside a plain one: only the plain join's conditions reach WHERE",
       rows({leftJoin("LANCISTAMPA", "A", "P"), key("A.ID", "IDLANCIOSTAMPA"),
             key("A.ID", "IDACQUISIZIONE"), hidden("A.NOTE", "(A.NOTE<>'x')"),
             shown("A.DATALANCIO"), leftJoin("ACQUISIZIONI", "B"), key("B.ID", "IDACQUISIZIONE"),
             hidden("B.FILE", "y")}),
       {"SELECT", "A.DATALANCIO", "FROM ", "(\"ETICHETTE\" XX ", "LEFT JOIN \"LANCISTAMPA\"  A",
        "ON ((A.ID=XX.IDLANCIOSTAMPA) AND (A.ID=XX.IDACQUISIZIONE) AND ((A.NOTE<>'x'))))",
        "LEFT JOIN \"ACQUISIZIONI\"  B", "ON ((B.ID=XX.IDACQUISIZIONE))", "WHERE ",
        "((UPPER(B.FILE) LIKE ('%Y%')))"}},
  });
}

TEST(Statement, ComputedColumnsAndGrouping) {
  expectStatements({
      {"a formula is an item that does not count; no aggregate, no GROUP BY",
       rows({shown("CODICE"), hidden("IDACQUISIZIONE", "(CALC (IDACQUISIZIONE*2) AS DOPPIO)")}),
       {"SELECT", "XX.CODICE,", " (IDACQUISIZIONE*2) AS DOPPIO", "FROM ", "\"ETICHETTE\" XX "}},
      {"only aggregates: no GROUP BY",
       rows({hidden("IDACQUISIZIONE", "(Calc (Sum(IDACQUISIZIONE)) as Tot)"),
             hidden("CODICE", "(CALC (COUNT(*)) AS N)")}),
       {"SELECT", " (Sum(IDACQUISIZIONE)) as Tot,", " (COUNT(*)) AS N", "FROM ",
        "\"ETICHETTE\" XX "}},
      {"frozen and shown fields are grouped in row order",
       rows({frozen("CODICE"), hidden("IDACQUISIZIONE", "(CALC (MAX(IDACQUISIZIONE)) AS M)"),
             shown("CAUSALE")}),
       {"SELECT", "XX.CODICE,", " (MAX(IDACQUISIZIONE)) AS M,", "XX.CAUSALE", "FROM ",
        "\"ETICHETTE\" XX ", "GROUP BY", "XX.CODICE,", "XX.CAUSALE"}},
      {"nothing shown: SELECT straight followed by FROM",
       rows({hidden("CODICE"), hidden("DESCRIZIONE", "abc")}),
       {"SELECT", "FROM ", "\"ETICHETTE\" XX ", "WHERE ",
        "((UPPER (CAST(XX.DESCRIZIONE AS CHARACTER(256)) ) LIKE UPPER('%ABC%')))"}},
  });
}

TEST(Statement, ProceduralColumnsAreLeftToThePostSteps) {
  const auto sum =
      rows({shown("CODICE"), hidden("IMPORTO", "(CALC (SOMMAPROG(IMPORTO,DATADOC)) AS PROGR)")});
  const auto integer = rows({hidden("IMPORTO", "(calc (interoquov(IMPORTO)) as INTERO)")});
  for (const auto& run : {sum, integer}) {
    const auto statement =
        buildStatement(run, 1, static_cast<int>(run.size()), "ETICHETTE", fieldTypes());
    EXPECT_TRUE(statement.postSteps);
    EXPECT_FALSE(statement.lines.join('\n').contains("(IMPORTO"));
  }
}

TEST(Statement, OnlyTheRunFromFirstToLastIsRead) {
  const auto all =
      rows({shown("CODICE"), shown("DESCRIZIONE", "a"), lock(), partHeader(), shown("CAUSALE")});
  EXPECT_EQ(render(buildStatement(all, 2, 3, "ETICHETTE", fieldTypes()).lines),
            render({"SELECT", "XX.DESCRIZIONE", "FROM ", "\"ETICHETTE\" XX ", "WHERE ",
                    "((UPPER (CAST(XX.DESCRIZIONE AS CHARACTER(256)) ) LIKE UPPER('%A%')))"}));
  // Positions beyond the rows are ignored rather than read.
  EXPECT_EQ(render(buildStatement(all, 5, 99, "ETICHETTE", fieldTypes()).lines),
            render({"SELECT", "XX.CAUSALE", "FROM ", "\"ETICHETTE\" XX "}));
  EXPECT_EQ(render(buildStatement(all, 4, 3, "ETICHETTE", fieldTypes()).lines),
            render({"SELECT", "FROM ", "\"ETICHETTE\" XX "}));
}

}  // namespace
