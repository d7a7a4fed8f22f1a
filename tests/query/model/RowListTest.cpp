#include <gtest/gtest.h>

#include "query/model/RowList.h"

namespace {

using namespace query::model;
using Column = RowList::Column;

// One row of each kind, numbered 1 to 7.
void fillWithEveryKind(RowList& list) {
  InternalChange change(list);
  for (int mostra : {Mostra::Hidden, Mostra::Shown, Mostra::Frozen, Mostra::LeftJoin,
                     Mostra::RightJoin, Mostra::LinkKey, Mostra::Lock})
    ASSERT_TRUE(list.append(QStringLiteral("R%1").arg(mostra), mostra, "c"));
}

TEST(RowList, FillsOneShownRowPerFieldInOrder) {
  RowList list;
  RiempiTabIntTmp(list, {"CODICE", "DESCRIZIONE", "IDLANCIOSTAMPA"});
  EXPECT_EQ(list.rows(), QList<Row>({{1, "CODICE", Mostra::Shown, ""},
                                     {2, "DESCRIZIONE", Mostra::Shown, ""},
                                     {3, "IDLANCIOSTAMPA", Mostra::Shown, ""}}));
  EXPECT_FALSE(list.internalChange());
  RiempiTabIntTmp(list, {"A"});
  EXPECT_EQ(list.rows(), QList<Row>({{1, "A", Mostra::Shown, ""}}));
  EXPECT_EQ(list.indexOf("A"), 0);
  EXPECT_EQ(list.indexOf("CODICE"), -1);
}

TEST(RowList, UserTypesOnlyIntoConditionsOfFieldRows) {
  RowList list;
  fillWithEveryKind(list);
  for (int i = 0; i < list.count(); ++i) {
    const int mostra = list.at(i).mostra;
    SCOPED_TRACE(mostra);
    const bool field = mostra == 0 || mostra == 1 || mostra == 6;
    EXPECT_EQ(list.canEdit(i, Column::Condizione), field);
    EXPECT_EQ(list.setCondizione(i, "new"), field);
    EXPECT_EQ(list.at(i).condizione, field ? "new" : "c");
    EXPECT_FALSE(list.setValue(i, Column::Nome, "X"));
    EXPECT_FALSE(list.setValue(i, Column::Mostra, 1));
    EXPECT_FALSE(list.setValue(i, Column::Numero, 99));
    EXPECT_EQ(list.at(i).numero, i + 1);
    EXPECT_EQ(list.at(i).mostra, mostra);
  }
  for (Column column : {Column::Numero, Column::Nome, Column::Mostra})
    EXPECT_TRUE(list.isReadOnly(column));
  EXPECT_FALSE(list.isReadOnly(Column::Condizione));
  EXPECT_FALSE(list.setCondizione(-1, "x"));
  EXPECT_FALSE(list.setCondizione(list.count(), "x"));
}

TEST(RowList, ProgramChangesNeedAnInternalChange) {
  RowList list;
  fillWithEveryKind(list);
  int announced = 0;
  QObject::connect(&list, &RowList::rowsInserted, [&] { ++announced; });
  QObject::connect(&list, &RowList::rowChanged, [&] { ++announced; });
  QObject::connect(&list, &RowList::rowsRemoved, [&] { ++announced; });
  QObject::connect(&list, &RowList::reset, [&] { ++announced; });

  EXPECT_FALSE(list.insertRow(Row{8, "X", Mostra::Shown, ""}));
  EXPECT_FALSE(list.append("X", Mostra::Shown));
  EXPECT_FALSE(list.remove(0));
  EXPECT_FALSE(list.setMostra(0, Mostra::Shown));
  EXPECT_FALSE(list.replaceAll({}));
  EXPECT_EQ(list.count(), 7);
  EXPECT_EQ(announced, 0);

  {
    InternalChange outer(list);
    { InternalChange inner(list); }
    EXPECT_TRUE(list.internalChange());
    EXPECT_FALSE(list.isReadOnly(Column::Nome));
    const int lockRow = list.count() - 1;
    EXPECT_TRUE(list.setCondizione(lockRow, "12 34"));
    EXPECT_TRUE(list.setValue(lockRow, Column::Nome, "QUERY BLOCCATA"));
    EXPECT_TRUE(list.setMostra(0, Mostra::Shown));
    EXPECT_TRUE(list.remove(1));
    EXPECT_TRUE(list.append("UNION", Mostra::Lock, "UNION"));
  }
  EXPECT_FALSE(list.internalChange());
  EXPECT_EQ(announced, 5);
  EXPECT_EQ(list.at(5), Row({7, "QUERY BLOCCATA", Mostra::Lock, "12 34"}));
  EXPECT_EQ(list.at(6), Row({8, "UNION", Mostra::Lock, "UNION"}));
  EXPECT_EQ(list.at(0).mostra, Mostra::Shown);
}

TEST(RowList, KeepsNumeroOrderAndNumbersAppendedRowsOnFromTheLast) {
  RowList list;
  QStringList fields;
  for (int i = 1; i <= 40; ++i) fields.append(QStringLiteral("F%1").arg(i));
  RiempiTabIntTmp(list, fields);
  InternalChange change(list);
  ASSERT_TRUE(list.append(kLockName, Mostra::Lock));
  EXPECT_EQ(list.at(40), Row({41, "QUERY BLOCCATA", Mostra::Lock, ""}));

  ASSERT_TRUE(list.insertRow(Row{20, "MEZZO", Mostra::Hidden, ""}));
  EXPECT_EQ(list.at(19).nome, "F20");  // after the row already numbered 20
  EXPECT_EQ(list.at(20).nome, "MEZZO");
  ASSERT_TRUE(list.setValue(0, Column::Numero, 100));
  EXPECT_EQ(list.at(list.count() - 1).nome, "F1");
  EXPECT_EQ(list.nextNumero(), 101);

  ASSERT_TRUE(list.replaceAll({{3, "C", 1, ""}, {1, "A", 1, ""}, {2, "B", 0, ""}}));
  EXPECT_EQ(list.at(0).nome, "A");
  EXPECT_EQ(list.at(2).nome, "C");
  ASSERT_TRUE(list.replaceAll({}));
  EXPECT_EQ(list.nextNumero(), 1);
}

}  // namespace
