#include <gtest/gtest.h>

#include "db/MemTable.h"

namespace {

db::MemTable makeList() {
  db::MemTable table;
  table.addField("Codice", db::FieldType::AutoInc);
  table.addField("Barcode", db::FieldType::String, 20);
  table.addField("Qta", db::FieldType::Integer);
  table.open();
  return table;
}

void add(db::MemTable& table, const QString& barcode, int qta) {
  ASSERT_TRUE(table.append());
  table.setValue("Barcode", barcode);
  table.setValue("Qta", qta);
  table.post();
}

QStringList barcodes(const db::MemTable& table) {
  QStringList list;
  for (int row = 0; row < table.rowCount(); ++row) list << table.value(row, 1).toString();
  return list;
}

TEST(MemTable, EditingNumbersRecordsAndCancelLeavesThemUnchanged) {
  db::MemTable table = makeList();
  add(table, "B", 2);
  add(table, "C", 3);
  table.first();
  ASSERT_TRUE(table.insert());
  table.setValue("Barcode", "A");
  table.post();
  EXPECT_EQ(barcodes(table), (QStringList{"A", "B", "C"})) << "insert goes before the current";
  EXPECT_EQ(table.value("Codice").toLongLong(), 3) << "auto numbers follow posting order";
  EXPECT_EQ(table.currentRow(), 0);

  table.setCurrentRow(1);
  ASSERT_TRUE(table.edit());
  table.setValue("Qta", 99);
  EXPECT_EQ(table.value("Qta").toInt(), 99) << "the edit buffer is visible while editing";
  table.cancel();
  EXPECT_EQ(table.value("Qta").toInt(), 2);

  ASSERT_TRUE(table.remove());
  EXPECT_EQ(barcodes(table), (QStringList{"A", "C"}));
  EXPECT_EQ(table.text("Barcode"), "C");
  EXPECT_THROW(table.setValue("Qta", 1), std::logic_error) << "not in edit state";
  EXPECT_THROW(table.value("Nessuno"), std::logic_error);
}

TEST(MemTable, GuardsAndReadOnlyColumnsRefuseChanges) {
  db::MemTable table = makeList();
  table.setReadOnly("Codice", true);
  add(table, "A", 1);
  bool allowInsert = false;
  table.setBeforeInsert([&](db::MemTable&) { return allowInsert; });
  table.setBeforeDelete([](db::MemTable&) { return false; });
  EXPECT_FALSE(table.append());
  EXPECT_EQ(table.state(), db::MemTable::State::Browse);
  EXPECT_FALSE(table.remove());
  EXPECT_EQ(table.rowCount(), 1);
  allowInsert = true;
  ASSERT_TRUE(table.append());
  EXPECT_THROW(table.setValue("Codice", 5), std::logic_error);
  table.cancel();
  EXPECT_EQ(table.rowCount(), 1);
}

TEST(MemTable, SortFilterAndBookmarksFollowTheSameRecord) {
  db::MemTable table = makeList();
  add(table, "b", 2);
  add(table, "a", 2);
  add(table, "c", 1);
  table.append();
  table.post();  // a record with nulls sorts first
  table.locate({"Barcode"}, {"a"});
  const auto mark = table.bookmark();

  table.sort({{2, true}, {1, false}});
  EXPECT_EQ(barcodes(table), (QStringList{"", "c", "b", "a"}));
  EXPECT_EQ(table.text("Barcode"), "a") << "sorting keeps the current record";

  table.setFilter(
      [](const db::MemTable& t, int record) { return t.recordValue(record, 2).toInt() == 2; });
  EXPECT_EQ(barcodes(table), (QStringList{"b", "a"}));
  EXPECT_EQ(table.bookmark(), mark);
  table.setFilter({});
  table.first();
  EXPECT_TRUE(table.gotoBookmark(mark));
  EXPECT_EQ(table.currentRow(), 3);
  table.clear();
  EXPECT_FALSE(table.gotoBookmark(mark));
  EXPECT_TRUE(table.isEmpty());
}

}  // namespace
