#include "db/MemTable.h"
#include "db/Query.h"
#include "db/Table.h"
#include "db/Transaction.h"
#include "support/FirebirdFixture.h"

namespace {

using Notice = db::DataSet::Notice;

class DataSetNoticesTest : public FirebirdTest {};

}  // namespace

TEST_F(DataSetNoticesTest, CloseHooksAndNoticesFollowTheQueryAndItsTransaction) {
  auto database = createDatabase();
  execute(*database, {"CREATE TABLE T (A INTEGER NOT NULL PRIMARY KEY, B VARCHAR(5))",
                      "CREATE INDEX IX_T_B ON T (B, A)", "INSERT INTO T VALUES (1, 'b')",
                      "INSERT INTO T VALUES (2, 'a')", "INSERT INTO T VALUES (3, 'c')"});
  std::vector<QString> events;
  {
    db::Transaction transaction(*database);
    db::Query query(*database, transaction);
    query.sql << "SELECT * FROM T";
    query.setBeforeClose([&](db::DataSet& source) {
      events.push_back("before-close " + QString::number(source.rowCount()));
    });
    query.addObserver(&events, [&](db::DataSet&, Notice notice) {
      events.push_back(notice == Notice::Opened    ? "opened"
                       : notice == Notice::Closing ? "closing"
                                                   : "other");
    });
    query.setAfterOpen([&](db::DataSet&) { events.push_back("after-open"); });
    query.open();
    query.open();          // a reopening closes first
    transaction.commit();  // ending the transaction closes the query
    query.close();         // already closed: nothing
    EXPECT_EQ(events, (std::vector<QString>{"opened", "after-open", "before-close 1", "closing",
                                            "opened", "after-open", "before-close 1", "closing"}));
    events.clear();
    query.open();
  }
  EXPECT_EQ(events, (std::vector<QString>{"opened", "after-open", "other"}))
      << "destruction tells the observers, without the before-close hook";

  db::Transaction transaction(*database);
  db::Table table(*database, transaction, "T");
  EXPECT_EQ(table.indexDefinitions(), QStringList({"A", "B;A"}));
  table.setIndexFieldNames("B");
  table.open();
  table.setRecordFilter(
      [](const db::Table& t, int row) { return t.rawValue(row, 0).toInt() != 2; });
  table.setFiltered(true);
  table.fetchMore(10);
  ASSERT_EQ(table.rowCount(), 2);
  EXPECT_EQ(table.value(0, 1).toString(), "b");
  EXPECT_EQ(table.value(1, 1).toString(), "c");
  table.setIndexFieldNames("A;B");
  EXPECT_TRUE(table.isActive()) << "a new order reopens an open table";
  EXPECT_EQ(table.sql, QStringList({"SELECT * FROM T", "ORDER BY A,B"}));
  EXPECT_THROW(table.setIndexFieldNames("A; DROP TABLE T"), std::invalid_argument);

  // Declared before the table: the table still tells its observers as it goes.
  int changes = 0;
  db::MemTable memory;
  memory.addField("N", db::FieldType::String, 5);
  memory.addObserver(
      &changes, [&](db::DataSet&, Notice notice) { changes += notice == Notice::RowsChanged; });
  memory.open();
  for (const char* name : {"b", "A", "c"}) {
    memory.append();
    memory.setValue("N", QString(name));
    memory.post();
  }
  memory.sort({{0, true}}, Qt::CaseInsensitive);
  EXPECT_EQ(memory.value(0, 0).toString(), "A");
  EXPECT_EQ(memory.value(1, 0).toString(), "b");
  EXPECT_EQ(changes, 4) << "three posts and a sort";
}
