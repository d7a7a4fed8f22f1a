#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <algorithm>

#include "core/Paths.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/localstore/LocalTable.h"
#include "query/engine/AnswerAggregates.h"
#include "query/engine/AnswerWorkTable.h"
#include "query/engine/ProceduralAnswer.h"
#include "query/engine/QueryEngine.h"
#include "query/engine/SortKeys.h"
#include "query/model/RowList.h"
#include "support/FirebirdFixture.h"

namespace {

using query::model::Row;

// Documents with a date, a number, an amount (one of them empty) and a
// price; the dates and the numbers order them differently.
class ProceduralAnswerTest : public FirebirdTest {
 protected:
  void SetUp() override {
    database_ = createDatabase();
    execute(*database_,
            {"CREATE TABLE DOCUMENTI (ID INTEGER NOT NULL, DATADOC DATE, NUMERO INTEGER, "
             "IMPORTO NUMERIC(9,2), PREZZO DOUBLE PRECISION, NOTE VARCHAR(20))",
             "INSERT INTO DOCUMENTI VALUES (1, '2005-03-04', 1, 30, -2.5, 'uno')",
             "INSERT INTO DOCUMENTI VALUES (2, '2005-03-01', 4, 10, 7.9, 'due')",
             "INSERT INTO DOCUMENTI VALUES (3, '2005-03-02', 3, NULL, -7.9, NULL)",
             "INSERT INTO DOCUMENTI VALUES (4, '2005-03-03', 2, 20, NULL, 'quattro')"});
    transaction_ = std::make_unique<db::Transaction>(
        *database_, QStringList{"isc_tpb_concurrency", "isc_tpb_nowait"});
    engine_ = newEngine();
    answer_ = std::make_unique<db::Query>(*database_, *transaction_);
  }

  void TearDown() override {
    // The answer reads the engine's work table: it goes first.
    answer_.reset();
    engine_.reset();
  }

  std::unique_ptr<query::engine::QueryEngine> newEngine() {
    auto engine =
        std::make_unique<query::engine::QueryEngine>(*database_, *transaction_, rows_, "DOCUMENTI");
    engine->setWorkArea(base(), 7);
    engine->setNotifier([this](const QString& message) { messages_ << message; });
    return engine;
  }

  QString base() const { return core::storedPath(dir_.path()) + QStringLiteral("\\lavoro\\"); }
  QString sumDirectory() const { return base() + QStringLiteral("QUERY\\RISPTMP\\SUMPROG"); }
  QString sumFile(const QString& name) const {
    return core::nativePath(sumDirectory() + u'\\' + name);
  }

  void setRows(const QList<Row>& rows) {
    query::model::InternalChange change(rows_);
    rows_.replaceAll(rows);
  }

  bool run() { return engine_->EseguiInterrogazione(*answer_, false); }

  // The answer as "value;value" lines, in its order.
  static QStringList lines(db::Query& answer) {
    QStringList lines;
    for (answer.first(); !answer.isEof(); answer.next()) {
      QStringList fields;
      for (int i = 0; i < answer.fieldCount(); ++i)
        fields << db::displayText(answer.value(answer.currentRow(), i));
      lines << fields.join(';');
    }
    return lines;
  }

  QString workTables() {
    return readOne(*database_,
                   "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME STARTING WITH "
                   "'TMP_RISP_USER7_'");
  }

  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
  query::model::RowList rows_;
  std::unique_ptr<query::engine::QueryEngine> engine_;
  std::unique_ptr<db::Query> answer_;
  QStringList messages_;
};

TEST_F(ProceduralAnswerTest, RunningTotalsInTheLastFormulasOrderingPresentedAsAnAnswer) {
  // The first formula would order by NUMERO; the last one's ordering, by
  // DATADOC (blanks and all), applies to both. The empty amount keeps the
  // totals as they were.
  setRows({{1, "ID", 1, ""},
           {2, "DATADOC", 1, ""},
           {3, "IMPORTO", 1, "(CALC (SOMMAPROG(IMPORTO,NUMERO)) AS PRIMA)"},
           {4, "NUMERO", 0, "(CALC (SOMMAPROG( IMPORTO , DATA DOC )) AS PROGR)"}});
  ASSERT_TRUE(run()) << engine_->lastError().toStdString();
  EXPECT_TRUE(messages_.isEmpty());
  const QStringList expected{"2;01/03/2005;10;10;10", "3;02/03/2005;;10;10",
                             "4;03/03/2005;20;30;30", "1;04/03/2005;30;60;60"};
  EXPECT_EQ(lines(*answer_), expected);
  ASSERT_EQ(answer_->fieldCount(), 5);
  EXPECT_EQ(answer_->field(3).name, "PRIMA");
  EXPECT_EQ(answer_->field(4).type, db::FieldType::Float);
  EXPECT_EQ(answer_->field(2).type, db::FieldType::Bcd);
  EXPECT_EQ(answer_->field(2).scale, 2);

  // The local table holds the same rows, columns and order.
  platform::localstore::LocalColumns columns;
  QList<QVariantList> local;
  QString error;
  ASSERT_TRUE(
      platform::localstore::readLocalTable(sumDirectory(), "SUMPROG.DB", &columns, &local, &error))
      << error.toStdString();
  ASSERT_EQ(local.size(), 4);
  EXPECT_EQ(columns.last().name, "PROGR");
  EXPECT_EQ(local[1][0].toInt(), 3);
  EXPECT_DOUBLE_EQ(local[3][4].toDouble(), 60.0);

  // Nothing of it is written to the database; what reads the answer's
  // statement (the count, a sum, the sort keys, whose removal brings the
  // local table's order back) reads the local table.
  EXPECT_EQ(workTables(), "0");
  EXPECT_EQ(query::engine::countRows(*answer_), 4);
  EXPECT_DOUBLE_EQ(query::engine::sumColumn(*answer_, 4), 110.0);

  engine_->codes().setCode(0, 10100);  // ID descending, first key
  ASSERT_EQ(query::engine::applySortKeys(*answer_, *engine_), "");
  EXPECT_EQ(lines(*answer_).first(), "4;03/03/2005;20;30;30");
  engine_->codes().setCode(0, 0);
  ASSERT_EQ(query::engine::applySortKeys(*answer_, *engine_), "");
  EXPECT_EQ(lines(*answer_), expected);

  // A reader that reads only the database gets a copy in the answer's
  // current order, gone when the copy is.
  engine_->codes().setCode(0, 10100);
  ASSERT_EQ(query::engine::applySortKeys(*answer_, *engine_), "");
  {
    query::engine::AnswerWorkTable copy(*database_, 7);
    copy.copy(*answer_);
    EXPECT_EQ(workTables(), "1");
    db::Database other;
    other.attach(database_->name(), "SYSDBA", "masterkey");
    db::Transaction otherTransaction(other);
    db::Query elsewhere(other, otherTransaction);
    elsewhere.sql = copy.statement();
    elsewhere.open();
    QStringList descending = expected;
    std::sort(descending.begin(), descending.end(), [](const QString& a, const QString& b) {
      return a.section(';', 0, 0).toInt() > b.section(';', 0, 0).toInt();
    });
    QStringList copied = lines(elsewhere);
    for (QString& line : copied) line = line.section(';', 0, 4);
    EXPECT_EQ(copied, descending);
  }
  EXPECT_EQ(workTables(), "0");

  // The next run presents the database's answer again.
  engine_->codes().setCode(0, 0);
  setRows({{1, "ID", 1, ""}});
  ASSERT_TRUE(run());
  EXPECT_EQ(answer_->rowSource(), nullptr);
  EXPECT_FALSE(engine_->sortLines());
}

TEST_F(ProceduralAnswerTest, IntegerPartsAfterRunningSumsAndTheirFailures) {
  setRows({{1, "ID", 1, ""},
           {2, "PREZZO", 1, "(CALC (INTEROQUOV( PREZZO )) AS INTERO)"},
           {3, "IMPORTO", 1, "(CALC (SOMMAPROG(IMPORTO,ID)))"}});
  ASSERT_TRUE(run()) << engine_->lastError().toStdString();
  EXPECT_EQ(lines(*answer_),
            (QStringList{"1;-2.5;30;30;-2", "2;7.9;10;40;7", "3;-7.9;;40;-7", "4;;20;60;"}));
  EXPECT_EQ(answer_->field(3).name, "XXXXXX");
  EXPECT_EQ(answer_->field(4).name, "INTERO");
  EXPECT_EQ(workTables(), "0") << "nothing is written to the database";

  // A field the answer lacks: the function's message, the answer closed
  // holding the generated statement, no work table left.
  setRows({{1, "ID", 1, ""}, {2, "PREZZO", 0, "(CALC (INTEROQUOV(PREZZO)) AS INTERO)"}});
  EXPECT_FALSE(run());
  EXPECT_EQ(engine_->failureMessage(), "Campo 'PREZZO' non trovato");
  EXPECT_FALSE(answer_->isActive());
  EXPECT_EQ(answer_->sql.first(), "SELECT");
  EXPECT_EQ(answer_->sql.last(), "\"DOCUMENTI\" XX ");
  EXPECT_EQ(workTables(), "0");

  // A text that is no number is refused, not counted as zero.
  setRows({{1, "NOTE", 1, "(CALC (SOMMAPROG(NOTE)) AS P)"}});
  EXPECT_FALSE(run());
  EXPECT_EQ(engine_->failureMessage(), "Il campo 'NOTE' contiene un valore non numerico: uno");
  EXPECT_FALSE(answer_->isActive());
}

TEST_F(ProceduralAnswerTest, ABadOrderingIsToldAndTheSumsFollowTheAnswer) {
  for (const char* ordering : {"MANCA", "NUMERO;DROP"}) {
    SCOPED_TRACE(ordering);
    messages_.clear();
    setRows(
        {{1, "ID", 1, "(ID<=2)"},
         {2, "IMPORTO", 1, QStringLiteral("(CALC (SOMMAPROG(IMPORTO,%1)) AS P)").arg(ordering)}});
    ASSERT_TRUE(run()) << engine_->lastError().toStdString();
    EXPECT_EQ(messages_, QStringList{query::engine::orderingFailureMessage()});
    QStringList records = lines(*answer_);
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[1].section(';', 2), "40") << records.join('|').toStdString();
  }
}

TEST_F(ProceduralAnswerTest, ResultNamesNeverClash) {
  // Two formulas without a name each get a column of their own.
  setRows({{1, "IMPORTO", 1, "(CALC (SOMMAPROG(IMPORTO,ID)))"},
           {2, "ID", 0, "(CALC (SOMMAPROG(IMPORTO,ID)))"}});
  ASSERT_TRUE(run()) << engine_->lastError().toStdString();
  ASSERT_EQ(answer_->fieldCount(), 3);
  EXPECT_EQ(answer_->field(1).name, "XXXXXX");
  EXPECT_EQ(answer_->field(2).name, "XXXXXX2");

  // A result named after a shown field is refused before anything is made.
  setRows({{1, "IMPORTO", 1, "(CALC (SOMMAPROG(IMPORTO)) AS importo)"}});
  QFile::remove(sumFile("SUMPROG.DB"));
  EXPECT_FALSE(run());
  EXPECT_TRUE(engine_->failureMessage().startsWith("La colonna importo compare due volte"))
      << engine_->failureMessage().toStdString();
  EXPECT_FALSE(QFileInfo::exists(sumFile("SUMPROG.DB")));
}

TEST_F(ProceduralAnswerTest, ASecondRunWhileTheTableIsHeldElsewhereTakesTheNextName) {
  setRows({{1, "ID", 1, ""}, {2, "IMPORTO", 1, "(CALC (SOMMAPROG(IMPORTO,ID)) AS P)"}});
  ASSERT_TRUE(run()) << engine_->lastError().toStdString();
  // Given up by the designer that made it, then taken by another user.
  setRows({{1, "ID", 1, "(ID=1)"}});
  ASSERT_TRUE(run());
  const QFileInfo before(sumFile("SUMPROG.DB"));
  ASSERT_TRUE(before.exists());
  QProcess holder;
  holder.start(QStringLiteral(ORBELAN_LOCAL_TABLE_HOLDER), {sumDirectory(), "SUMPROG.DB"});
  ASSERT_TRUE(holder.waitForStarted());
  ASSERT_TRUE(holder.waitForReadyRead(10000));
  ASSERT_EQ(holder.readLine().trimmed(), "held");

  setRows({{1, "ID", 1, "(ID>=3)"}, {2, "IMPORTO", 1, "(CALC (SOMMAPROG(IMPORTO,ID)) AS P)"}});
  ASSERT_TRUE(run()) << engine_->lastError().toStdString();
  EXPECT_EQ(lines(*answer_), (QStringList{"3;;0", "4;20;20"}));
  EXPECT_TRUE(QFileInfo::exists(sumFile("SUMPR01.DB")));
  const QFileInfo after(sumFile("SUMPROG.DB"));
  EXPECT_EQ(after.size(), before.size());
  EXPECT_EQ(after.lastModified(), before.lastModified());
  platform::localstore::LocalColumns columns;
  QList<QVariantList> held;
  QString error;
  ASSERT_TRUE(
      platform::localstore::readLocalTable(sumDirectory(), "SUMPROG.DB", &columns, &held, &error));
  EXPECT_EQ(held.size(), 4) << "the first run's rows";

  // Another designer on the same folder meanwhile moves on once more.
  query::model::RowList otherRows;
  {
    query::model::InternalChange change(otherRows);
    otherRows.replaceAll(rows_.rows());
  }
  query::engine::QueryEngine other(*database_, *transaction_, otherRows, "DOCUMENTI");
  other.setWorkArea(base(), 8);
  {
    db::Query otherAnswer(*database_, *transaction_);
    ASSERT_TRUE(other.EseguiInterrogazione(otherAnswer, false)) << other.lastError().toStdString();
    EXPECT_TRUE(QFileInfo::exists(sumFile("SUMPR02.DB")));
  }

  // Once given up, the table taken under another name is deleted.
  holder.closeWriteChannel();
  holder.waitForFinished();
  setRows({{1, "ID", 1, ""}});
  ASSERT_TRUE(run());
  EXPECT_FALSE(QFileInfo::exists(sumFile("SUMPR01.DB")));
  EXPECT_TRUE(QFileInfo::exists(sumFile("SUMPROG.DB")));
}

TEST_F(ProceduralAnswerTest, JoinedColumnsOfOneNameSideBySidePartsAndNamesTheArchiveRefuses) {
  // Two shown columns called ID (the document's and its customer's) work
  // with a running sum as they do without; the answer titles both ID.
  execute(*database_,
          {"CREATE TABLE CLIENTI (ID INTEGER, NOME VARCHAR(20))",
           "INSERT INTO CLIENTI VALUES (1, 'Rossi')", "INSERT INTO CLIENTI VALUES (2, 'Bianchi')"});
  setRows({{1, "ID", 1, ""},
           {2, "IMPORTO", 1, "(CALC (SOMMAPROG(IMPORTO,ID)) AS P)"},
           {3, "CLIENTI = A", 9, ""},
           {4, "A.ID", 8, "ID"},
           {5, "A.NOME", 1, ""},
           {6, "A.ID", 1, ""}});
  ASSERT_TRUE(run()) << engine_->lastError().toStdString();
  ASSERT_EQ(answer_->fieldCount(), 5);
  EXPECT_EQ(answer_->field(0).name, "ID");
  EXPECT_EQ(answer_->field(3).name, "ID");
  EXPECT_EQ(lines(*answer_),
            (QStringList{"1;30;Rossi;1;30", "2;10;Bianchi;2;40", "3;;;;40", "4;20;;;60"}));

  // Side by side, the named formula of the first part and its copy in the
  // second are one column, summed once over the union.
  setRows({{1, "ID", 1, "(ID<=2)"},
           {2, "IMPORTO", 1, "(CALC (SOMMAPROG(IMPORTO,ID)) AS P)"},
           {3, "QUERY BLOCCATA", 7, ""},
           {4, "DOCUMENTI", 9, "UNION"},
           {5, "ID", 1, "(ID>=3)"},
           {6, "IMPORTO", 1, "(CALC (SOMMAPROG(IMPORTO,ID)) AS P)"},
           {7, "QUERY BLOCCATA", 7, "UNION"}});
  ASSERT_TRUE(engine_->EseguiInterrogazione(*answer_, true)) << engine_->lastError().toStdString();
  EXPECT_EQ(lines(*answer_), (QStringList{"1;30;30", "2;10;40", "3;;40", "4;20;60"}));

  // A result name longer than the archive's column names is refused before
  // anything runs, naming the limit.
  QFile::remove(sumFile("SUMPROG.DB"));
  answer_->close();
  setRows({{1, "IMPORTO", 1,
            "(CALC (SOMMAPROG(IMPORTO)) AS TOTALE_PROGRESSIVO_DEGLI_IMPORTI_AL_GIORNO)"}});
  EXPECT_FALSE(run());
  EXPECT_TRUE(engine_->failureMessage().contains("31")) << engine_->failureMessage().toStdString();
  EXPECT_TRUE(engine_->failureMessage().contains("TOTALE_PROGRESSIVO_DEGLI_IMPORTI_AL_GIORNO"));
  EXPECT_FALSE(answer_->isActive());
  EXPECT_FALSE(QFileInfo::exists(sumFile("SUMPROG.DB")));
}

TEST_F(ProceduralAnswerTest, RunningSumsAndCopiesGoOnWhileOtherUsersMakeAndDropTables) {
  // The designer's snapshot is open before another user makes and drops a
  // table (as another user's running sum or print does).
  setRows({{1, "ID", 1, ""}});
  ASSERT_TRUE(run());
  db::Database other;
  other.attach(database_->name(), "SYSDBA", "masterkey");
  runStatement(other, "CREATE TABLE ALTRO_UTENTE (X INTEGER)");
  runStatement(other, "DROP TABLE ALTRO_UTENTE");

  setRows({{1, "ID", 1, ""}, {2, "IMPORTO", 1, "(CALC (SOMMAPROG(IMPORTO,ID)) AS P)"}});
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(run()) << engine_->lastError().toStdString();
    EXPECT_EQ(lines(*answer_).last(), "4;20;60");
    query::engine::AnswerWorkTable copy(*database_, 7);
    ASSERT_NO_THROW(copy.copy(*answer_));
    // Read as the spreadsheet library reads it, on a connection of its own
    // that ends before the copy goes.
    db::Database reader;
    reader.attach(database_->name(), "SYSDBA", "masterkey");
    EXPECT_EQ(readOne(reader, "SELECT COUNT(*) FROM " + copy.name()), "4");
  }
  EXPECT_EQ(workTables(), "0");
}

}  // namespace
