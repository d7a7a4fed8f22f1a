#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>

#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "db/WorkTables.h"
#include "support/FirebirdFixture.h"

namespace {

namespace worktables = db::worktables;

class WorkTablesTest : public FirebirdTest {
 protected:
  static QString valueIn(db::Transaction& transaction, const QString& statement) {
    db::Query query(transaction.database(), transaction);
    query.sql << statement;
    query.open();
    return query.isEmpty() ? QStringLiteral("<none>") : query.text(query.field(0).name);
  }
  static bool tableExists(db::Database& database, const QString& name) {
    return readOne(database, "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='" + name +
                                 "'") == "1";
  }

  // A window's snapshot on `window` outlives a table created and dropped by
  // `other`; the window's work table is then created, filled in the old
  // snapshot, read back and dropped.
  static void workTableBesideOthersDdl(db::Database& window, db::Database& other) {
    runStatement(window, "CREATE TABLE ARTICOLI (ID INTEGER)");
    db::Transaction snapshot(
        window, {QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait")});
    EXPECT_EQ(valueIn(snapshot, "SELECT COUNT(*) FROM ARTICOLI"), "0");
    runStatement(other, "CREATE TABLE DI_UN_ALTRO (X INTEGER)");
    runStatement(other, "DROP TABLE DI_UN_ALTRO");

    const QString name = worktables::name(worktables::kPrintTablePrefix + "1_", 7);
    ASSERT_NO_THROW(worktables::create(window, name, {"CREATE TABLE " + name + " (N INTEGER)"}));
    {
      // The older snapshot does not see the table: rows go in through a
      // transaction of the same attachment started after it.
      db::Transaction writing(window, {QStringLiteral("isc_tpb_read_committed"),
                                       QStringLiteral("isc_tpb_rec_version")});
      db::Query insert(window, writing);
      insert.sql << "INSERT INTO " + name + " VALUES (42)";
      ASSERT_NO_THROW(insert.execSql());
      insert.close();
      writing.commit();
    }
    EXPECT_EQ(readOne(window, "SELECT SUM(N) FROM " + name), "42");
    {
      // The print library reads on a connection of its own, which it closes:
      // a connection that used a table keeps it in use until it goes.
      db::Database reader;
      reader.attach(window.name(), window.user(), window.password());
      EXPECT_EQ(readOne(reader, "SELECT SUM(N) FROM " + name), "42");
    }
    EXPECT_EQ(valueIn(snapshot, "SELECT COUNT(*) FROM ARTICOLI"), "0") << "the snapshot goes on";
    EXPECT_EQ(readOne(other,
                      "SELECT TRIM(RDB$DESCRIPTION) FROM RDB$RELATIONS "
                      "WHERE RDB$RELATION_NAME='" +
                          name + "'"),
              "ATTACHMENT " + valueIn(snapshot, "SELECT CURRENT_CONNECTION FROM RDB$DATABASE"));

    ASSERT_NO_THROW(worktables::drop(window, name));
    EXPECT_FALSE(tableExists(other, name));
    ASSERT_NO_THROW(worktables::drop(window, name)) << "dropping a table that is gone is no error";
    snapshot.commit();
  }
};

TEST_F(WorkTablesTest, WorkTablesComeAndGoWhileAnOlderSnapshotStaysOpen) {
  auto window = createDatabase();
  db::Database other;
  other.attach(path("test.fdb"), "SYSDBA", "masterkey");
  workTableBesideOthersDdl(*window, other);
}

TEST_F(WorkTablesTest, WorkTablesComeAndGoWhileAnOlderSnapshotStaysOpenOnAServer) {
  REQUIRE_TEST_SERVER();
  const QString file = qEnvironmentVariable("ORBELAN_TEST_SERVER_DIR") + "/worktables-" +
                       QString::number(QCoreApplication::applicationPid()) + ".fdb";
  const QString name = testServer() + ":" + file;
  {
    db::Database window;
    window.create(name, db::Database::defaultUser(), db::Database::defaultPassword());
    db::Database other;
    other.attach(name, db::Database::defaultUser(), db::Database::defaultPassword());
    workTableBesideOthersDdl(window, other);
  }
  QFile::remove(file);
}

TEST_F(WorkTablesTest, TablesOfAttachmentsThatAreGoneAreDroppedWhateverTheirPrefix) {
  auto database = createDatabase();
  runStatement(*database, "CREATE TABLE TMP_ST_USER9_1 (X INTEGER)");
  runStatement(*database, "CREATE TABLE ANAGRAFICA (X INTEGER)");
  {
    db::Database gone;
    gone.attach(path("test.fdb"), "SYSDBA", "masterkey");
    worktables::create(gone, "TMP_RISP_USER2_5_1", {"CREATE TABLE TMP_RISP_USER2_5_1 (X INTEGER)"});
    worktables::create(gone, "TMP_ST_USER3_4", {"CREATE TABLE TMP_ST_USER3_4 (X INTEGER)"});
    worktables::create(gone, "ESPORTATA", {"CREATE TABLE ESPORTATA (X INTEGER)"});
    // Detached without dropping them, as a killed program leaves them.
  }
  worktables::create(*database, "TMP_ST_USER3_5", {"CREATE TABLE TMP_ST_USER3_5 (X INTEGER)"});

  EXPECT_TRUE(worktables::isLeftover(*database, "ESPORTATA"));
  EXPECT_FALSE(worktables::isLeftover(*database, "TMP_ST_USER3_5")) << "its attachment is here";
  EXPECT_FALSE(worktables::isLeftover(*database, "ANAGRAFICA"));

  QStringList dropped = worktables::dropLeftovers(*database);
  dropped.sort();
  EXPECT_EQ(dropped, (QStringList{"ESPORTATA", "TMP_RISP_USER2_5_1", "TMP_ST_USER3_4"}));
  EXPECT_TRUE(tableExists(*database, "TMP_ST_USER3_5")) << "still in use";
  EXPECT_TRUE(tableExists(*database, "TMP_ST_USER9_1")) << "not marked: made by another program";
  EXPECT_TRUE(tableExists(*database, "ANAGRAFICA"));

  EXPECT_TRUE(worktables::isWorkTable("TMP_ST_USER9_1", ""));
  EXPECT_TRUE(worktables::isWorkTable("QUALSIASI", "ATTACHMENT 12"));
  EXPECT_FALSE(worktables::isWorkTable("ANAGRAFICA", "Anagrafica dei clienti"));
}

}  // namespace
