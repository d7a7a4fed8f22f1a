#include <gtest/gtest.h>

#include <QFile>

#include "core/Paths.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "env/TabX.h"
#include "labels/BarcodeDecoder.h"
#include "labels/ReprintPrintTable.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"
#include "support/ScriptedUi.h"

namespace {

class DecodedReprintTest : public ::testing::Test {
 protected:
  DecodedReprintTest() : guard_(prompter_) {}
  // An environment as the decoded reprint launch makes it.
  std::unique_ptr<TTabXForm> environment(int user = 1) {
    auto env = std::make_unique<TTabXForm>(nullptr, TTabXForm::ModoDatabase);
    env->SetUserPerNum(user);
    env->Inserisci("QZV", "Archivio", "", host_.archive(), "", "", "", "", "1");
    env->Inserisci("QZV", "BinDir", "", host_.binDir(), "", "", "", "", "1");
    EXPECT_TRUE(env->ConnettiDatabase1("Archivio"));
    return env;
  }
  QStringList pages(TTabXForm& env, const QString& table) {
    QStringList list;
    // As the print library reads them: committed, seen from a new transaction.
    db::Transaction reading(env.IBDatabase1);
    db::Query query(env.IBDatabase1, reading);
    query.sql << "SELECT NPAGINA||'.'||NRIGA||' '||BARCODE||' '||COALESCE(DESCRIZIONE,'-') FROM " +
                     table
              << "ORDER BY NPAGINA,NRIGA";
    for (query.open(); !query.isEof(); query.next()) list << query.text(query.field(0).name);
    return list;
  }
  static std::vector<labels::ReprintRow> rows(int count) {
    std::vector<labels::ReprintRow> list;
    for (int i = 1; i <= count; ++i)
      list.push_back({QStringLiteral("B%1").arg(i, 2, 10, QChar('0')), "C", "", "", "", ""});
    return list;
  }
  HostInstallation host_;
  ScriptedPrompter prompter_;
  ScopedPrompter guard_;
};

TEST_F(DecodedReprintTest, BarcodesDecodeThroughMovementsAndMasterData) {
  auto env = environment();
  const QString barcode =
      readOne(env->IBDatabase1, "SELECT FIRST 1 NUMEROSERIALE FROM MOVMAG ORDER BY ID");
  const labels::DecodedArticle article =
      labels::decodeBarcode(env->IBDatabase1, env->IBTransaction1, barcode);
  EXPECT_EQ(article.outcome, labels::DecodedArticle::Outcome::Decoded);
  EXPECT_EQ(
      article.codice + "/" + article.taglia,
      readOne(env->IBDatabase1,
              "SELECT FIRST 1 CODICEARTICOLO||'/'||ESTENSIONECODICEART FROM MOVMAG ORDER BY ID"));
  EXPECT_FALSE(article.modello.isEmpty());
  EXPECT_TRUE(article.descrizione.contains(" - "));

  using Outcome = labels::DecodedArticle::Outcome;
  EXPECT_EQ(labels::decodeBarcode(env->IBDatabase1, env->IBTransaction1, "").outcome,
            Outcome::EmptyBarcode);
  EXPECT_EQ(labels::decodeBarcode(env->IBDatabase1, env->IBTransaction1, "NESSUNO").outcome,
            Outcome::NeverMoved);
  EXPECT_EQ(labels::decodeBarcode(env->IBDatabase1, env->IBTransaction1, "X' OR '1'='1").outcome,
            Outcome::NeverMoved)
      << "a typed barcode is a value, never statement text";

  runStatement(env->IBDatabase1,
               "INSERT INTO MOVMAG (ID,CODICEARTICOLO,ESTENSIONECODICEART,NUMEROSERIALE) VALUES "
               "(GEN_ID(IDMOVMAGCOUNTER,1),'ZZ999','XL','SERIALEORFANO')");
  runStatement(env->IBDatabase1,
               "INSERT INTO MOVMAG (ID,CODICEARTICOLO,ESTENSIONECODICEART,NUMEROSERIALE) VALUES "
               "(GEN_ID(IDMOVMAGCOUNTER,1),'ZZ999','XL','AbC123')");
  env->IBTransaction1.rollbackAndRestart();
  EXPECT_EQ(labels::decodeBarcode(env->IBDatabase1, env->IBTransaction1, "ABC123").outcome,
            Outcome::NeverMoved)
      << "barcodes compare exactly";
  EXPECT_EQ(labels::decodeBarcode(env->IBDatabase1, env->IBTransaction1, "AbC123").outcome,
            Outcome::NotInMasterData);
  const labels::DecodedArticle orphan =
      labels::decodeBarcode(env->IBDatabase1, env->IBTransaction1, "SERIALEORFANO");
  EXPECT_EQ(orphan.outcome, Outcome::NotInMasterData);
  EXPECT_EQ(orphan.codice, "ZZ999");
  EXPECT_EQ(orphan.taglia, "XL");
}

TEST_F(DecodedReprintTest, RowsGoInPagesOfSixteenFromTheStartRow) {
  auto env = environment();
  labels::ReprintPrintTable table(*env);
  labels::ReprintPrintTable other(*env);
  EXPECT_TRUE(table.name().startsWith("TMP_ST_USER1_"));
  EXPECT_NE(table.name(), other.name()) << "two windows of one user get two tables";
  EXPECT_EQ(labels::ReprintPrintTable::nameFor(5, 1207), "TMP_ST_USER5_1207");
  EXPECT_EQ(labels::ReprintPrintTable::createStatement("T"),
            (QStringList{"CREATE TABLE T (", "NPAGINA Integer NOT NULL,", "NRIGA Integer NOT NULL,",
                         "BARCODE Varchar(20),", "CODICE Varchar(20),", "DESCRIZIONE Varchar(80),",
                         "MODELLO Varchar(10),", "VARIANTE Varchar(10),", "TAGLIA Varchar(3),",
                         "CONSTRAINT T_T_PK PRIMARY KEY (NPAGINA,NRIGA))"}));
  ASSERT_TRUE(table.drop());
  ASSERT_TRUE(table.create());
  ASSERT_TRUE(other.create());

  ASSERT_TRUE(table.fill(rows(17), 0));
  QStringList listed = pages(*env, table.name());
  ASSERT_EQ(listed.size(), 17);
  EXPECT_EQ(listed[15], "1.16 B16 -");
  EXPECT_EQ(listed[16], "2.1 B17 -");

  ASSERT_TRUE(table.fill(rows(20), 9));
  listed = pages(*env, table.name());
  ASSERT_EQ(listed.size(), 11) << "a new print replaces the rows";
  EXPECT_EQ(listed.front(), "1.1 B10 -");
  EXPECT_EQ(listed.back(), "1.11 B20 -");

  std::vector<labels::ReprintRow> abito{{"B1", "C1", "L'ABITO", "M'", "", ""}};
  EXPECT_EQ(labels::ReprintPrintTable::insertStatement("T", 1, 1, abito[0]),
            (QStringList{"INSERT INTO T (NPAGINA,NRIGA,BARCODE,CODICE,DESCRIZIONE,MODELLO,VARIANTE,"
                         "TAGLIA) VALUES(",
                         "1,", "1,", "'B1',", "'C1',", QString::fromUtf8("'L´ABITO',"),
                         QString::fromUtf8("'M´',"), "NULL,", "NULL)"}));
  ASSERT_TRUE(table.fill(abito, 0));
  EXPECT_EQ(pages(*env, table.name()), QStringList{QString::fromUtf8("1.1 B1 L´ABITO")});
  EXPECT_TRUE(prompter_.texts().isEmpty()) << prompter_.texts().join('\n').toStdString();

  ASSERT_TRUE(table.drop());
  EXPECT_EQ(
      readOne(env->IBDatabase1,
              "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='" + table.name() + "'"),
      "0");
}

TEST_F(DecodedReprintTest, ABarcodeTooLongForTheTableFailsTheWholeFill) {
  auto env = environment();
  labels::ReprintPrintTable table(*env);
  ASSERT_TRUE(table.create());
  std::vector<labels::ReprintRow> list = rows(3);
  list[2].barcode = QString(21, '9');
  EXPECT_FALSE(table.fill(list, 0));
  EXPECT_EQ(
      prompter_.texts(),
      QStringList{
          "Errore interno durante il rivesramento dei dati nella  tabella temporanea di stampa"});
  EXPECT_TRUE(pages(*env, table.name()).isEmpty()) << "the rows before it are undone too";
  QFile saved(core::nativePath(host_.binDir() + "Errore.sql"));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly)) << "the statement is kept in the bin directory";
  EXPECT_TRUE(saved.readAll().contains(QString(21, '9').toLatin1()));
}

TEST_F(DecodedReprintTest, TablesLeftByAWindowThatDidNotCloseAreDroppedNextTime) {
  QString leftBehind;
  {
    auto crashed = environment();
    labels::ReprintPrintTable table(*crashed);
    ASSERT_TRUE(table.create());
    leftBehind = table.name();
    // The window ends without dropping its table: the connection just goes.
  }
  auto open = environment();
  labels::ReprintPrintTable stillOpen(*open);
  ASSERT_TRUE(stillOpen.create());
  auto otherUser = environment(2);
  labels::ReprintPrintTable foreign(*otherUser);
  ASSERT_TRUE(foreign.create());

  auto next = environment();
  EXPECT_EQ(labels::ReprintPrintTable::dropLeftovers(*next), QStringList{leftBehind});
  const auto exists = [&](const QString& name) {
    return readOne(next->IBDatabase1,
                   "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='" + name + "'") ==
           "1";
  };
  EXPECT_FALSE(exists(leftBehind));
  EXPECT_TRUE(exists(stillOpen.name())) << "a window still open keeps its table";
  EXPECT_TRUE(exists(foreign.name())) << "another user's tables are not touched";
}

TEST_F(DecodedReprintTest, ThePrintTableWorksWhileAnotherConnectionChangesTables) {
  auto env = environment();
  // The window's snapshot is older than what the other user does next.
  env->IBTransaction1.ensureStarted();
  auto otherUser = environment(2);
  runStatement(otherUser->IBDatabase1, "CREATE TABLE APPOGGIO_ALTRUI (X INTEGER)");
  runStatement(otherUser->IBDatabase1, "DROP TABLE APPOGGIO_ALTRUI");

  labels::ReprintPrintTable table(*env);
  ASSERT_TRUE(table.drop());
  ASSERT_TRUE(table.create()) << prompter_.texts().join(" | ").toStdString();
  ASSERT_TRUE(table.fill(rows(2), 0));
  EXPECT_EQ(pages(*env, table.name()), (QStringList{"1.1 B01 -", "1.2 B02 -"}));
  {
    // The print library reads on a connection of its own, which it closes.
    auto library = environment(3);
    EXPECT_EQ(readOne(library->IBDatabase1, "SELECT COUNT(*) FROM " + table.name()), "2");
  }
  EXPECT_TRUE(table.drop());
  EXPECT_EQ(
      readOne(otherUser->IBDatabase1,
              "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='" + table.name() + "'"),
      "0");
  EXPECT_TRUE(prompter_.texts().isEmpty()) << prompter_.texts().join(" | ").toStdString();
}

}  // namespace
