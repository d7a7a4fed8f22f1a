#include <gtest/gtest.h>

#include "query/model/QueryLock.h"
#include "query/model/RowEdits.h"
#include "query/model/SideBySideParts.h"

namespace {

using namespace query::model;

// CODICE and DESCRIZIONE shown, PREZZO hidden, simply locked.
void lockedThreeFields(RowList& rows, DesignerFlags& flags) {
  RiempiTabIntTmp(rows, {"CODICE", "DESCRIZIONE", "PREZZO"});
  InternalChange change(rows);
  rows.setMostra(2, Mostra::Hidden);
  rows.setCondizione(0, ">'A'");
  ASSERT_EQ(applyLock(rows, flags, {true, false, "", false}), "");
}

const QList<Row> kOnePart = {
    {1, "CODICE", Mostra::Frozen, ">'A'"},      {2, "DESCRIZIONE", Mostra::Frozen, ""},
    {3, "PREZZO", Mostra::Hidden, ""},          {4, kLockName, Mostra::Lock, ""},
    {5, "ETICHETTE", Mostra::LeftJoin, kUnion}, {6, "CODICE", Mostra::Shown, ">'A'"},
    {7, "DESCRIZIONE", Mostra::Shown, ""},      {8, "PREZZO", Mostra::Hidden, ""},
    {9, kLockName, Mostra::Lock, kUnion},
};

TEST(SideBySideParts, AddingAPartFreezesTheFirstAndCopiesIt) {
  RowList rows;
  DesignerFlags flags;
  lockedThreeFields(rows, flags);
  EXPECT_EQ(addSideBySidePart(rows, flags, "ETICHETTE"), "");
  EXPECT_EQ(rows.rows(), kOnePart);
  EXPECT_TRUE(flags.sideBySide);
  EXPECT_EQ(sideBySidePartCount(rows), 1);

  // A second part copies the first with its selection as it was before freezing.
  EXPECT_EQ(addSideBySidePart(rows, flags, "ETICHETTE"), "");
  ASSERT_EQ(rows.count(), 14);
  EXPECT_EQ(rows.rows().mid(0, 9), kOnePart);
  EXPECT_EQ(rows.rows().mid(9), QList<Row>({{10, "ETICHETTE", Mostra::LeftJoin, kUnion},
                                            {11, "CODICE", Mostra::Shown, ">'A'"},
                                            {12, "DESCRIZIONE", Mostra::Shown, ""},
                                            {13, "PREZZO", Mostra::Hidden, ""},
                                            {14, kLockName, Mostra::Lock, kUnion}}));
  EXPECT_FALSE(rows.internalChange());
}

TEST(SideBySideParts, JoinedTableHeadersAreCopiedAsUnionHeaders) {
  RowList rows;
  DesignerFlags flags;
  RiempiTabIntTmp(rows, {"CODICE"});
  {
    InternalChange change(rows);
    rows.append("ARTICOLI = A", Mostra::LeftJoin, "");
    rows.append("A.CODICE", Mostra::LinkKey, "CODICE");
    rows.append("A.PREZZO", Mostra::Shown, "");
  }
  applyLock(rows, flags, {true, true, "ABCDEF", false});
  ASSERT_EQ(addSideBySidePart(rows, flags, "ETICHETTE"), "");
  EXPECT_EQ(rows.rows().mid(5), QList<Row>({{6, "ETICHETTE", Mostra::LeftJoin, kUnion},
                                            {7, "CODICE", Mostra::Shown, ""},
                                            {8, kUnion, Mostra::LeftJoin, ""},
                                            {9, "A.CODICE", Mostra::LinkKey, "CODICE"},
                                            {10, "A.PREZZO", Mostra::Shown, ""},
                                            {11, kLockName, Mostra::Lock, kUnion}}));
  EXPECT_EQ(rows.at(3).mostra, Mostra::Frozen);
}

TEST(SideBySideParts, RefusalsChangeNothing) {
  RowList rows;
  DesignerFlags flags;
  RiempiTabIntTmp(rows, {"CODICE", "DESCRIZIONE"});
  EXPECT_EQ(addSideBySidePart(rows, flags, "ETICHETTE"), kNotLocked);
  setAllShown(rows, false);
  applyLock(rows, flags, {true, false, "", false});
  const QList<Row> before = rows.rows();
  EXPECT_EQ(addSideBySidePart(rows, flags, "ETICHETTE"), kNoFieldShown);
  EXPECT_EQ(rows.rows(), before);
  EXPECT_FALSE(flags.sideBySide);
  EXPECT_FALSE(removeLastSideBySidePart(rows, flags));
  EXPECT_EQ(rows.rows(), before);
}

TEST(SideBySideParts, RemovingTheLastOfTwoPartsKeepsTheFirstFrozen) {
  RowList rows;
  DesignerFlags flags;
  lockedThreeFields(rows, flags);
  addSideBySidePart(rows, flags, "ETICHETTE");
  addSideBySidePart(rows, flags, "ETICHETTE");

  ASSERT_TRUE(removeLastSideBySidePart(rows, flags));
  EXPECT_EQ(rows.rows(), kOnePart);
  EXPECT_TRUE(flags.sideBySide);
  EXPECT_TRUE(flags.locked);

  ASSERT_TRUE(removeLastSideBySidePart(rows, flags));
  EXPECT_EQ(rows.rows(), QList<Row>({{1, "CODICE", Mostra::Shown, ">'A'"},
                                     {2, "DESCRIZIONE", Mostra::Shown, ""},
                                     {3, "PREZZO", Mostra::Hidden, ""},
                                     {4, kLockName, Mostra::Lock, ""}}));
  EXPECT_FALSE(flags.sideBySide);
  EXPECT_TRUE(flags.locked);
  EXPECT_FALSE(rows.internalChange());
}

}  // namespace
