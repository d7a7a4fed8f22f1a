#include <gtest/gtest.h>

#include "Rows.h"
#include "query/engine/SideBySide.h"

namespace {

using namespace enginetest;
using namespace query::engine;

// A base table of three fields, the first two shown, locked, with a part
// added for every condition on CODICE given (the first part's condition
// first).
QList<Row> partsOf(const QStringList& codes) {
  QList<Row> list;
  auto append = [&list](Row row) {
    row.numero = static_cast<int>(list.size() + 1);
    list.append(row);
  };
  const bool several = codes.size() > 1;
  for (qsizetype part = 0; part < codes.size(); ++part) {
    if (part > 0) append(partHeader());
    const bool firstOfSeveral = part == 0 && several;
    append(Row{0, "CODICE", firstOfSeveral ? Mostra::Frozen : Mostra::Shown, codes[part]});
    append(Row{0, "DESCRIZIONE", firstOfSeveral ? Mostra::Frozen : Mostra::Shown, ""});
    append(hidden("CAUSALE"));
    append(lock(part == 0 ? "" : "UNION"));
  }
  return list;
}

QStringList partLines(const char* code) {
  return {"SELECT",
          "XX.CODICE,",
          "XX.DESCRIZIONE",
          "FROM ",
          "\"ETICHETTE\" XX ",
          "WHERE ",
          QStringLiteral("((UPPER (CAST(XX.CODICE AS CHARACTER(256)) ) LIKE UPPER('%%1%')))")
              .arg(code)};
}

TEST(SideBySide, PartsEndAtLockRowsAndSkipTheirHeaders) {
  EXPECT_EQ(sideBySideSegments(partsOf({"A"})), QList<Segment>({{1, 4}}));
  EXPECT_EQ(sideBySideSegments(partsOf({"A", "B"})), QList<Segment>({{1, 4}, {6, 9}}));
  EXPECT_EQ(sideBySideSegments(partsOf({"A", "B", "C"})),
            QList<Segment>({{1, 4}, {6, 9}, {11, 14}}));
  // Rows after the last lock row, or without one, belong to no part.
  EXPECT_EQ(sideBySideSegments(rows({shown("CODICE"), lock(), shown("X")})),
            QList<Segment>({{1, 2}}));
  EXPECT_TRUE(sideBySideSegments(rows({shown("CODICE")})).isEmpty());
  EXPECT_TRUE(sideBySideSegments({}).isEmpty());
}

TEST(SideBySide, PartStatementsAreJoinedByUnion) {
  const auto two = buildSideBySide(partsOf({"A", "B"}), "ETICHETTE", fieldTypes());
  EXPECT_EQ(render(two.lines), render(partLines("A") + QStringList{"UNION"} + partLines("B")));
  const auto three = buildSideBySide(partsOf({"A", "B", "C"}), "ETICHETTE", fieldTypes());
  EXPECT_EQ(render(three.lines), render(partLines("A") + QStringList{"UNION"} + partLines("B") +
                                        QStringList{"UNION"} + partLines("C")));
  EXPECT_EQ(joinWithUnion({{"X"}}), QStringList({"X"}));
}

// A header copy in a later part names "UNION", not a table: it joins the
// table of the first part's header at the same place, with the same option.
TEST(SideBySide, LaterPartsJoinTheFirstPartsTables) {
  const auto list =
      rows({frozen("CODICE"), leftJoin("LANCISTAMPA", "A", "P"), key("A.ID", "IDLANCIOSTAMPA"),
            frozen("A.NOTE", "x"), lock(), partHeader(), shown("CODICE"), headerCopy(),
            key("A.ID", "IDLANCIOSTAMPA"), shown("A.NOTE", "y"), lock("UNION")});
  const QStringList join{"LEFT JOIN \"LANCISTAMPA\"  A"};
  auto part = [](const char* search) {
    return QStringList{"SELECT",
                       "XX.CODICE,",
                       "A.NOTE",
                       "FROM ",
                       "\"ETICHETTE\" XX ",
                       "LEFT JOIN \"LANCISTAMPA\"  A",
                       QStringLiteral("ON ((A.ID=XX.IDLANCIOSTAMPA) AND ((UPPER (CAST(A.NOTE AS "
                                      "CHARACTER(256)) ) LIKE UPPER('%%1%'))))")
                           .arg(search)};
  };
  const auto statement = buildSideBySide(list, "ETICHETTE", fieldTypes());
  EXPECT_EQ(render(statement.lines), render(part("x") + QStringList{"UNION"} + part("y")));
}

}  // namespace
