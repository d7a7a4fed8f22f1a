#include "db/Query.h"
#include "db/Transaction.h"
#include "db/UnitOfWork.h"
#include "support/FirebirdFixture.h"

namespace {

class TransactionTest : public FirebirdTest {
 protected:
  void SetUp() override {
    database_ = createDatabase();
    execute(*database_, {"CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V VARCHAR(10))",
                         "INSERT INTO T VALUES (1,'a')"});
  }
  QString valueSeenBy(db::Transaction& transaction) {
    db::Query query(*database_, transaction);
    query.sql << "SELECT V FROM T WHERE ID=1";
    query.open();
    return query.text("V");
  }
  std::unique_ptr<db::Database> database_;
};

const QStringList kSnapshotNoWait{"isc_tpb_concurrency", "isc_tpb_nowait"};

TEST_F(TransactionTest, SeveralTransactionsOnOneAttachmentKeepTheirSnapshots) {
  db::Transaction reader(*database_, kSnapshotNoWait);
  db::Transaction writer(*database_, kSnapshotNoWait);
  EXPECT_EQ(valueSeenBy(reader), "a");

  db::Query update(*database_, writer);
  update.sql << "UPDATE T SET V='b' WHERE ID=1";
  update.execSql();
  writer.commitRetaining();
  EXPECT_TRUE(writer.isActive()) << "commit retaining keeps the transaction";
  EXPECT_EQ(valueSeenBy(writer), "b");
  EXPECT_EQ(valueSeenBy(reader), "a") << "a snapshot does not see later commits";

  reader.rollbackAndRestart();
  EXPECT_EQ(valueSeenBy(reader), "b");
  writer.commit();
  EXPECT_FALSE(writer.isActive());
}

TEST_F(TransactionTest, AUnitOfWorkKeepsOnlyWhatItCommits) {
  db::Transaction transaction(*database_, kSnapshotNoWait);
  const auto update = [&](const QString& value) {
    db::Query query(*database_, transaction);
    query.sql << "UPDATE T SET V='" + value + "' WHERE ID=1";
    query.execSql();
  };
  {
    db::UnitOfWork work(transaction);
    update("b");
    work.commitRetaining();
  }
  EXPECT_TRUE(transaction.isActive());
  EXPECT_EQ(valueSeenBy(transaction), "b");
  try {
    db::UnitOfWork work(transaction, db::UnitOfWork::AfterRollback::Restart);
    update("c");
    throw db::DbError("failed half-way");
  } catch (const db::DbError&) {
  }
  EXPECT_TRUE(transaction.isActive()) << "restarted after the rollback";
  EXPECT_EQ(valueSeenBy(transaction), "b");
  {
    db::UnitOfWork work(transaction);
    update("d");
  }
  EXPECT_FALSE(transaction.isActive()) << "left without a commit: rolled back";
  transaction.start();
  EXPECT_EQ(valueSeenBy(transaction), "b");
}

TEST_F(TransactionTest, NoWaitFailsAtOnceOnALockedRow) {
  db::Transaction first(*database_, kSnapshotNoWait);
  db::Transaction second(*database_, kSnapshotNoWait);
  db::Query a(*database_, first);
  a.sql << "UPDATE T SET V='x' WHERE ID=1";
  a.execSql();
  db::Query b(*database_, second);
  b.sql << "UPDATE T SET V='y' WHERE ID=1";
  try {
    b.execSql();
    FAIL() << "the second update must meet the lock";
  } catch (const db::DbError& error) {
    EXPECT_TRUE(error.isLockConflict()) << error.text().toStdString();
  }
  second.rollback();
  first.rollback();
  db::Transaction check(*database_);
  EXPECT_EQ(valueSeenBy(check), "a") << "both rolled back";
}

TEST_F(TransactionTest, EndingATransactionClosesItsQueriesAndRetainingKeepsThem) {
  execute(*database_, {"INSERT INTO T VALUES (2,'b')", "INSERT INTO T VALUES (3,'c')"});
  db::Transaction transaction(*database_);
  db::Query query(*database_, transaction);
  query.sql << "SELECT ID FROM T ORDER BY ID";
  query.open();
  EXPECT_TRUE(transaction.isActive()) << "opening a query starts its transaction";
  transaction.commitRetaining();
  query.next();
  EXPECT_EQ(query.value("ID").toInt(), 2) << "the cursor survives commit retaining";
  transaction.commit();
  EXPECT_FALSE(query.isActive());
  query.open();
  EXPECT_EQ(query.value("ID").toInt(), 1) << "the query reopens in a new transaction";

  EXPECT_THROW(db::Transaction(*database_, {"isc_tpb_bogus"}).start(), db::DbError);
}

TEST_F(TransactionTest, DetachRollsBackAndTheTransactionCanRunAgainAfterReattach) {
  db::Transaction transaction(*database_, kSnapshotNoWait);
  db::Query update(*database_, transaction);
  update.sql << "UPDATE T SET V='z' WHERE ID=1";
  update.execSql();
  const QString name = database_->name();
  database_->detach();
  EXPECT_FALSE(transaction.isActive());
  database_->attach(name, "SYSDBA", "masterkey");
  EXPECT_EQ(valueSeenBy(transaction), "a") << "the pending update was rolled back";
}

TEST(DatabaseNames, StoredPathsBecomeNativeAndServerNamesStay) {
  qputenv("ORBELAN_DRIVES", "D=/srv/dati");
  EXPECT_EQ(db::Database::connectionName("C:\\archivi\\a.fdb"), "/archivi/a.fdb");
  EXPECT_EQ(db::Database::connectionName("D:\\archivi\\a.fdb"), "/srv/dati/archivi/a.fdb");
  EXPECT_EQ(db::Database::connectionName("SRV:D:\\archivi\\a.fdb"), "SRV:/srv/dati/archivi/a.fdb");
  EXPECT_EQ(db::Database::connectionName("SRV:archivio"), "SRV:archivio");
  EXPECT_EQ(db::Database::connectionName("localhost:/tmp/x.fdb"), "localhost:/tmp/x.fdb");
  EXPECT_EQ(db::Database::connectionName("/tmp/x.fdb"), "/tmp/x.fdb");
  EXPECT_EQ(db::Database::connectionName("\\\\SRV\\dati\\a.fdb"), "SRV:/dati/a.fdb");
  qunsetenv("ORBELAN_DRIVES");
}

TEST_F(TransactionTest, CreatingOverAnExistingFileFailsAndAWrongFileDoesNotAttach) {
  db::Database other;
  EXPECT_THROW(other.create(database_->name(), "SYSDBA", "masterkey"), db::DbError);
  EXPECT_THROW(other.attach(path("manca.fdb"), "SYSDBA", "masterkey"), db::DbError);
  EXPECT_FALSE(other.isConnected());
}

}  // namespace
