#include <gtest/gtest.h>

#include <QFile>

#include "core/Paths.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "db/WorkTables.h"
#include "query/output/TableExport.h"
#include "support/FirebirdFixture.h"

namespace {

class TableExportTest : public FirebirdTest {
 protected:
  void SetUp() override {
    database_ = createDatabase();
    execute(*database_,
            {"CREATE TABLE ARTICOLI (ID INTEGER, CODICE VARCHAR(10), PREZZO NUMERIC(9,2), "
             "NOTE BLOB SUB_TYPE 1, DATA DATE)",
             "INSERT INTO ARTICOLI VALUES (1, 'A1', 12.50, 'nota lunga', '2024-05-02')",
             "INSERT INTO ARTICOLI VALUES (2, 'B2', NULL, NULL, NULL)"});
  }

  // The answer's fields, as the designer's answer describes them.
  std::vector<db::FieldInfo> fieldsOf(const QStringList& sql) {
    db::Transaction transaction(*database_);
    db::Query answer(*database_, transaction);
    answer.sql = sql;
    answer.describe();
    std::vector<db::FieldInfo> fields;
    for (int i = 0; i < answer.fieldCount(); ++i) fields.push_back(answer.field(i));
    return fields;
  }

  query::output::ExportOutcome exportTo(const QString& table, const QStringList& sql) {
    return query::output::exportToTable(*database_, fieldsOf(sql), sql, table,
                                        core::storedPath(dir_.path()) + '\\');
  }

  std::unique_ptr<db::Database> database_;
};

TEST_F(TableExportTest, CreatesTheTableFillsItAndCommits) {
  const QStringList sql{"SELECT XX.ID, XX.CODICE, XX.PREZZO, XX.NOTE, XX.DATA", "FROM ARTICOLI XX",
                        "ORDER BY 1"};
  const auto outcome = exportTo("export", sql);
  EXPECT_TRUE(outcome.done);
  EXPECT_TRUE(outcome.messages.isEmpty());
  // Seen from a transaction of its own: committed, with the answer's types.
  db::Database& other = *database_;
  EXPECT_EQ(readOne(other, "SELECT COUNT(*) FROM EXPORT"), "2");
  EXPECT_EQ(readOne(other, "SELECT PREZZO FROM EXPORT WHERE ID=1"), "12.5");
  EXPECT_EQ(readOne(other, "SELECT NOTE FROM EXPORT WHERE ID=1"), "nota lunga");
  EXPECT_EQ(readOne(other, "SELECT DATA FROM EXPORT WHERE ID=1"), "02/05/2024");
  EXPECT_EQ(readOne(other,
                    "SELECT RDB$FIELD_LENGTH FROM RDB$FIELDS F JOIN RDB$RELATION_FIELDS R "
                    "ON R.RDB$FIELD_SOURCE=F.RDB$FIELD_NAME WHERE "
                    "R.RDB$RELATION_NAME='EXPORT' AND R.RDB$FIELD_NAME='CODICE'"),
            "10");
}

TEST_F(TableExportTest, AFailedInsertDropsTheTableAndKeepsItsStatement) {
  // The second record fails while it is inserted.
  const QStringList sql{"SELECT ID, 1 / (ID - 2) AS X", "FROM ARTICOLI"};
  const auto outcome = exportTo("EXPORT", sql);
  EXPECT_FALSE(outcome.done);
  ASSERT_EQ(outcome.messages.size(), 1);
  EXPECT_EQ(outcome.messages[0].severity, core::UserMessage::Severity::Error);
  EXPECT_TRUE(
      outcome.messages[0].text.startsWith("E' avvenuto un errore durante l'esportazione\r\r"));
  EXPECT_EQ(readOne(*database_,
                    "SELECT COUNT(*) FROM RDB$RELATIONS WHERE "
                    "RDB$RELATION_NAME='EXPORT'"),
            "0");
  QFile saved(path("queryib.sql"));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), QByteArray("INSERT INTO EXPORT \r\nSELECT ID, 1 / (ID - 2) AS X\r\n"
                                        "FROM ARTICOLI\r\n"));

  // A table of that name already there is refused and kept.
  const auto existing = exportTo("ARTICOLI", {"SELECT ID FROM ARTICOLI"});
  EXPECT_FALSE(existing.done);
  EXPECT_EQ(readOne(*database_, "SELECT COUNT(*) FROM ARTICOLI"), "2");
}

TEST_F(TableExportTest, ANameThatIsNoIdentifierRunsNoStatement) {
  QStringList ran;
  db::setStatementObserver([&ran](const QStringList& lines) { ran << lines; });
  const auto outcome =
      exportTo("X (ID INTEGER); DROP TABLE ARTICOLI; --", {"SELECT ID FROM ARTICOLI"});
  const auto unnamed = exportTo("EXPORT", {"SELECT ID AS \"a b\" FROM ARTICOLI"});
  db::setStatementObserver(nullptr);
  EXPECT_FALSE(outcome.done);
  EXPECT_TRUE(outcome.messages[0].text.contains("Nome tabella non valido"));
  EXPECT_FALSE(unnamed.done) << "a column name that is no identifier";
  EXPECT_FALSE(ran.join('\n').contains("CREATE")) << ran.join('\n').toStdString();
  EXPECT_EQ(readOne(*database_, "SELECT COUNT(*) FROM ARTICOLI"), "2");
}

// An export killed after it created its table leaves it marked with its
// attachment; once that attachment is gone the next export of the name
// replaces it. A finished export is an ordinary table: kept by the clean-up
// of work tables. Another user's export still filling, and a table of that
// name that is no export, are refused and kept.
TEST_F(TableExportTest, AnExportKilledAfterCreatingItsTableIsReplacedByTheNextOne) {
  const QString file = path("test.fdb");
  {
    db::Database killed;
    killed.attach(file, "SYSDBA", "masterkey");
    db::worktables::create(killed, "EXPORT", {"CREATE TABLE EXPORT (ID INTEGER)"});
  }
  db::Database filling;
  filling.attach(file, "SYSDBA", "masterkey");
  db::worktables::create(filling, "IN_CORSO", {"CREATE TABLE IN_CORSO (ID INTEGER)"});

  // The window's snapshot is older than another user's new and dropped tables.
  db::Transaction window(*database_, {"isc_tpb_concurrency", "isc_tpb_nowait"});
  window.start();
  runStatement(filling, "CREATE TABLE ALTRUI (X INTEGER)");
  runStatement(filling, "DROP TABLE ALTRUI");

  const auto outcome = exportTo("EXPORT", {"SELECT ID, CODICE FROM ARTICOLI"});
  ASSERT_TRUE(outcome.done) << (outcome.messages.isEmpty()
                                    ? std::string()
                                    : outcome.messages[0].text.toStdString());
  EXPECT_EQ(readOne(*database_, "SELECT COUNT(*) || ' ' || MAX(CODICE) FROM EXPORT"), "2 B2");
  EXPECT_TRUE(db::worktables::dropLeftovers(*database_).isEmpty());
  database_->detach();
  db::Database later;
  later.attach(file, "SYSDBA", "masterkey");
  EXPECT_TRUE(db::worktables::dropLeftovers(later).isEmpty()) << "a finished export stays";
  EXPECT_EQ(readOne(later, "SELECT COUNT(*) FROM EXPORT"), "2");

  database_ = std::make_unique<db::Database>();
  database_->attach(file, "SYSDBA", "masterkey");
  EXPECT_FALSE(exportTo("IN_CORSO", {"SELECT ID FROM ARTICOLI"}).done);
  EXPECT_EQ(readOne(filling,
                    "SELECT COUNT(*) FROM RDB$RELATIONS WHERE "
                    "RDB$RELATION_NAME='IN_CORSO'"),
            "1");
}

}  // namespace
