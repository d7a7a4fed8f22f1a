#include <QString>

#include "core/Cp1252.h"
#include "core/SqlText.h"
#include "db/Query.h"
#include "db/TextCursor.h"
#include "db/Transaction.h"
#include "support/FirebirdFixture.h"

namespace {

// The text cursor writes values straight from the message buffer; it must
// give the bytes the general road (values, then their text) gives.
class TextCursorTest : public FirebirdTest {
 protected:
  void SetUp() override {
    database_ = createDatabase();
    execute(*database_,
            {"CREATE TABLE ART (CODICE VARCHAR(20), SIGLA CHAR(4), QTA INTEGER, PICCOLO SMALLINT, "
             "GRANDE BIGINT, PREZZO NUMERIC(15,2), MINIMO NUMERIC(4,3), PESO DOUBLE PRECISION, "
             "LEGGERO FLOAT, DATA DATE, ORA TIME, MOMENTO TIMESTAMP, NOTE BLOB SUB_TYPE 1, "
             "FOTO BLOB SUB_TYPE 0, ATTIVO BOOLEAN, GREZZO CHAR(3) CHARACTER SET OCTETS)",
             "INSERT INTO ART VALUES ('" + core::sqlValue(QString::fromUtf8("Caffè € L´A")) +
                 "','XY',7,-3,9000000000,1234.56,-0.005,2.5,0.1,'12/31/2024','13:45:10',"
                 "'03/02/2025 08:09:10','nota','bin',TRUE,'abc')",
             "INSERT INTO ART VALUES ('',' ',0,0,-9223372036854775807,-0.01,0,1e20,-1.5e-7,"
             "'01/01/0001','00:00:00','03/02/2025 00:00:00','',NULL,FALSE,NULL)",
             "INSERT INTO ART (CODICE) VALUES ('A3')"});
  }
  std::unique_ptr<db::Database> database_;
};

TEST_F(TextCursorTest, GivesTheTextOfTheGeneralRoadForEveryColumnKind) {
  const QStringList sql{"SELECT A.*, QTA * 2 AS DOPPIO, PREZZO * 3 AS TRIPLO FROM ART A"};
  db::Transaction transaction(*database_);
  db::Query query(*database_, transaction);
  query.sql = sql;
  query.open();
  db::TextCursor cursor(transaction, sql);
  ASSERT_EQ(cursor.fieldCount(), query.fieldCount());
  int rows = 0;
  for (; !query.isEof(); query.next(), ++rows) {
    ASSERT_TRUE(cursor.next());
    for (int column = 0; column < query.fieldCount(); ++column) {
      const QVariant value = query.value(query.currentRow(), column);
      for (const db::TextForm form : {db::TextForm::Plain, db::TextForm::Cell}) {
        QByteArray fast("|");
        cursor.appendText(column, form, fast);
        const QString general = form == db::TextForm::Plain
                                    ? db::displayText(value)
                                    : db::cellText(value, query.field(column));
        EXPECT_EQ(fast, "|" + core::toCp1252(general))
            << query.field(column).name.toStdString() << " row " << rows << " form "
            << static_cast<int>(form);
      }
      EXPECT_EQ(cursor.isNull(column), value.isNull());
      EXPECT_EQ(cursor.value(column), value);
    }
  }
  EXPECT_EQ(rows, 3);
  EXPECT_FALSE(cursor.next());
  EXPECT_FALSE(cursor.next()) << "the end stays the end";
  EXPECT_THROW(db::TextCursor(transaction, {"SELECT NESSUNO FROM ART"}), db::DbError);
}

}  // namespace
