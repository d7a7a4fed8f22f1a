#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>

#include "core/Cp1252.h"
#include "db/Database.h"
#include "db/Transaction.h"
#include "query/output/TextExport.h"
#include "support/FirebirdFixture.h"

namespace {

using query::output::ExportColumn;
using query::output::TextOptions;

// Articles with a code, an amount, a note and a description with accents,
// exported as the result view shows them.
class TextExportTest : public FirebirdTest {
 protected:
  void SetUp() override {
    database_ = createDatabase();
    execute(*database_,
            {"CREATE TABLE ARTICOLI (ID INTEGER, CODICE VARCHAR(10), IMPORTO DOUBLE PRECISION, "
             "NOTE BLOB SUB_TYPE 1, DESCRIZIONE VARCHAR(20))",
             "INSERT INTO ARTICOLI VALUES (1, 'A1  ', 1234.5, 'uno; due', 'Caffè lungo')",
             "INSERT INTO ARTICOLI VALUES (2, 'B2', 0, NULL, 'riga' || ASCII_CHAR(13) || "
             "ASCII_CHAR(10) || 'due')"});
    transaction_ = std::make_unique<db::Transaction>(*database_);
  }

  // The bytes written for the statement.
  QByteArray exported(const QList<ExportColumn>& columns, const TextOptions& options,
                      const QStringList& sql = {"SELECT * FROM ARTICOLI ORDER BY ID"}) {
    const QString file = path("export.txt");
    query::output::writeStatementText(*transaction_, sql, columns, options, file);
    QFile written(file);
    EXPECT_TRUE(written.open(QIODevice::ReadOnly));
    return written.readAll();
  }

  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
};

TEST_F(TextExportTest, FixedLengthFieldsHaveTheirWidthAndOtherwiseLoseTrailingBlanks) {
  const QList<ExportColumn> columns{{1, "CODICE", "CODICE", 8, 0}, {0, "ID", "ID", 3, 0}};
  TextOptions fixed;
  fixed.separator = "|";
  fixed.fixedLength = true;
  // Width: the display width, or the title's length when longer (CODICE: 8, ID: 3).
  EXPECT_EQ(exported(columns, fixed), QByteArray("CODICE  |ID |\r\n"
                                                 "A1      |1  |\r\n"
                                                 "B2      |2  |\r\n"));
  const TextOptions plain;
  EXPECT_EQ(exported(columns, plain), QByteArray("CODICE;ID;\r\nA1;1;\r\nB2;2;\r\n"));

  // A title longer than the display width widens the column; a name longer
  // than that is cut.
  const QList<ExportColumn> narrow{{4, "DESCRIZIONE", "DESCR", 4, 0}};
  EXPECT_EQ(exported(narrow, fixed), QByteArray("DESCR|\r\nCaff\xE8|\r\nriga |\r\n"));
}

TEST_F(TextExportTest, MemosWholeWithCommasAndLineBreaksAsBlanks) {
  const QList<ExportColumn> columns{{3, "NOTE", "NOTE", 4, 0},
                                    {4, "DESCRIZIONE", "DESCRIZIONE", 20, 0}};
  TextOptions options;
  options.headers = false;
  // Cut like any other field, its ";" kept; a line break in a text becomes a blank.
  EXPECT_EQ(exported(columns, options), QByteArray("uno;;Caff\xE8 lungo;\r\n;riga  due;\r\n"));
  options.memoInFull = true;
  EXPECT_EQ(exported(columns, options), QByteArray("uno, due;Caff\xE8 lungo;\r\n;riga  due;\r\n"));
}

TEST_F(TextExportTest, AnEmptyAnswerGivesTheHeaderOrNothing) {
  const QList<ExportColumn> columns{{1, "CODICE", "CODICE", 10, 0}};
  const QStringList none{"SELECT * FROM ARTICOLI WHERE ID < 0"};
  TextOptions options;
  EXPECT_EQ(exported(columns, options, none), QByteArray("CODICE;\r\n"));
  options.headers = false;
  EXPECT_EQ(exported(columns, options, none), QByteArray());
  EXPECT_TRUE(QFile::exists(path("export.txt"))) << "an empty file, not a missing one";
}

TEST_F(TextExportTest, GroupedAmountsAsTheResultViewDrawsThem) {
  TextOptions options;
  options.headers = false;
  options.locale = QLocale(QLocale::Italian, QLocale::Italy);
  const QList<ExportColumn> two{{2, "IMPORTO", "IMPORTO", 10, 1}};
  EXPECT_EQ(exported(two, options), QByteArray("  1.234,50;\r\n;\r\n"))
      << "right-aligned in the width, a zero left empty";
  const QList<ExportColumn> none{{2, "IMPORTO", "IMP", 4, 2}};
  options.fixedLength = true;
  EXPECT_EQ(exported(none, options), QByteArray("1.23;\r\n    ;\r\n")) << "cut to the width";
  const QList<ExportColumn> plain{{2, "IMPORTO", "IMPORTO", 10, 0}};
  options.fixedLength = false;
  EXPECT_EQ(exported(plain, options), QByteArray("1234.5;\r\n0;\r\n"));
}

TEST_F(TextExportTest, AFailureLeavesTheOlderFileAsItWas) {
  const QString file = path("export.txt");
  {
    QFile older(file);
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.write("older");
  }
  const QList<ExportColumn> columns{{0, "X", "X", 5, 0}};
  // The second record fails while the file is being written.
  EXPECT_THROW(query::output::writeStatementText(
                   *transaction_, {"SELECT 1 / (ID - 2) AS X FROM ARTICOLI ORDER BY ID"}, columns,
                   TextOptions{}, file),
               db::DbError);
  QFile kept(file);
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), QByteArray("older"));
  EXPECT_THROW(query::output::writeStatementText(*transaction_, {"SELECT * FROM ARTICOLI"}, columns,
                                                 TextOptions{}, path("missing/export.txt")),
               query::output::TextExportError);
}

}  // namespace
