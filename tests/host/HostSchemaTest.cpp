#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "DemoData.h"
#include "HostSchema.h"
#include "db/Database.h"
#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"

namespace {

// Two fresh embedded databases in a temporary folder.
class HostDatabases : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    user_.create(dir_.filePath(QStringLiteral("user.fdb")), QStringLiteral("SYSDBA"),
                 QStringLiteral("masterkey"));
    archive_.create(dir_.filePath(QStringLiteral("archivio.fdb")), QStringLiteral("SYSDBA"),
                    QStringLiteral("masterkey"));
  }

  // First column of every row of a statement.
  static QVariantList column(db::Database& database, const QString& statement) {
    db::Transaction transaction(database);
    db::Query query(database, transaction);
    query.sql = QStringList{statement};
    query.open();
    QVariantList values;
    for (; !query.isEof(); query.next()) values.append(query.value(query.currentRow(), 0));
    return values;
  }

  static QVariant scalar(db::Database& database, const QString& statement) {
    const QVariantList values = column(database, statement);
    return values.isEmpty() ? QVariant() : values.first();
  }

  static QStringList columnsOf(db::Database& database, const QString& table) {
    QStringList names;
    for (const QVariant& name :
         column(database, QStringLiteral("SELECT RDB$FIELD_NAME FROM RDB$RELATION_FIELDS "
                                         "WHERE RDB$RELATION_NAME='%1' ORDER BY RDB$FIELD_POSITION")
                              .arg(table)))
      names.append(name.toString().trimmed());
    return names;
  }

  static bool hasTable(db::Database& database, const QString& table) {
    db::Transaction transaction(database);
    return db::tableExists(transaction, table);
  }

  QTemporaryDir dir_;
  db::Database user_;
  db::Database archive_;
};

TEST(HostSchemaScripts, SplitIntoStatements) {
  const QStringList statements =
      host::splitStatements(QStringLiteral("-- heading\n"
                                           "\n"
                                           "CREATE TABLE A (\n"
                                           "  X INTEGER\n"
                                           ")\n"
                                           ";\n"
                                           "CREATE GENERATOR G;   \r\n"
                                           "  -- indented comment\n"
                                           "CREATE TABLE B (Y INTEGER)"));
  EXPECT_EQ(statements, (QStringList{QStringLiteral("CREATE TABLE A (\n  X INTEGER\n)"),
                                     QStringLiteral("CREATE GENERATOR G"),
                                     QStringLiteral("CREATE TABLE B (Y INTEGER)")}));

  const QStringList user = host::schemaStatements(QStringLiteral("user.sql"));
  ASSERT_EQ(user.size(), 4);
  EXPECT_TRUE(user.first().startsWith(QStringLiteral("CREATE TABLE UTENTI (")));
  EXPECT_EQ(host::schemaStatements(QStringLiteral("archive.sql")).size(), 21);
  for (const QString& statement : user + host::schemaStatements(QStringLiteral("archive.sql"))) {
    EXPECT_FALSE(statement.contains(';')) << statement.toStdString();
    EXPECT_FALSE(statement.contains(QStringLiteral("--"))) << statement.toStdString();
  }
  EXPECT_THROW(host::schemaStatements(QStringLiteral("missing.sql")), db::DbError);
}

TEST_F(HostDatabases, SchemasCreateEveryTable) {
  host::createUserSchema(user_);
  host::createArchiveSchema(archive_);

  for (const char* table : {"UTENTI", "TABVANDEL", "ZELMILOGFUNZ"})
    EXPECT_TRUE(hasTable(user_, QString::fromLatin1(table))) << table;
  // The library makes its script table itself.
  EXPECT_FALSE(hasTable(user_, QStringLiteral("TABSCRIPT")));
  for (const char* table :
       {"TABX", "ETICHETTE", "LANCISTAMPA", "ACQUISIZIONI", "MOVMAG", "ANAMAG", "CLASSIFICAZIONE3",
        "CLASSIFICAZIONE4", "STOASP1", "STOPOS1", "SETGRID"})
    EXPECT_TRUE(hasTable(archive_, QString::fromLatin1(table))) << table;

  // TABX rows are inserted without a column list, and the launch export
  // writes label columns in table order: both orders are fixed.
  EXPECT_EQ(columnsOf(archive_, QStringLiteral("TABX")).join(','),
            QStringLiteral("CODICE,CODPROGETTO,CODSITUAZIONE,TIPO,NOME,NUMERO,TESTO,DATA,MEMO,"
                           "LIVELLO1,LIVELLO2,UTENTE"));
  EXPECT_EQ(columnsOf(archive_, QStringLiteral("ETICHETTE")).join(','),
            QStringLiteral("ID,IDACQUISIZIONE,CODICE,DATIPRODOTTO,DESCRIZIONE,CAUSALE,ORDINE,"
                           "CODCLIDESTIN,RAGSOCCLIDESTIN,FORNITORE,INDIRIZZO,CAP,CITTA,PROVINCIA,"
                           "NAZIONE,CODICE_EAN,IDLANCIOSTAMPA"));

  for (const char* generator : {"CODICETABXCOUNTER", "IDETICHETTECOUNTER", "IDACQUISIZIONICOUNTER",
                                "IDLANCISTAMPACOUNTER", "VOPRACOUNTER"}) {
    db::Transaction transaction(archive_);
    EXPECT_EQ(db::generatorValue(transaction, QString::fromLatin1(generator)), 1) << generator;
  }

  // The grid finds the label table's primary key for its fall-back ordering.
  EXPECT_EQ(
      scalar(archive_, QStringLiteral("SELECT B.RDB$FIELD_NAME FROM RDB$RELATION_CONSTRAINTS A "
                                      "LEFT JOIN RDB$INDEX_SEGMENTS B ON "
                                      "(A.RDB$INDEX_NAME=B.RDB$INDEX_NAME) WHERE "
                                      "(A.RDB$RELATION_NAME='ETICHETTE') AND "
                                      "(A.RDB$CONSTRAINT_TYPE='PRIMARY KEY')"))
          .toString()
          .trimmed(),
      QStringLiteral("ID"));
}

TEST_F(HostDatabases, FailedSchemaLeavesNothing) {
  {
    db::Transaction transaction(archive_);
    db::Query query(archive_, transaction);
    query.sql = QStringList{QStringLiteral("CREATE TABLE SETGRID (X INTEGER)")};
    query.execSql();
    transaction.commit();
  }
  try {
    host::createArchiveSchema(archive_);
    FAIL() << "an existing SETGRID must stop the script";
  } catch (const db::DbError& error) {
    EXPECT_TRUE(error.text().contains(QStringLiteral("CREATE TABLE SETGRID"))) << error.what();
  }
  EXPECT_FALSE(hasTable(archive_, QStringLiteral("TABX")));
  EXPECT_FALSE(hasTable(archive_, QStringLiteral("ETICHETTE")));
}

TEST_F(HostDatabases, DemoUsersAndSettings) {
  host::createUserSchema(user_);
  host::DemoSettings settings;
  settings.binDir = QStringLiteral("C:\\ORBELAN\\BIN\\");
  settings.archive = QStringLiteral("C:\\ORBELAN\\DATI\\ARCHIVIO.FDB");
  host::fillUserDemo(user_, settings);

  EXPECT_EQ(column(user_, QStringLiteral("SELECT NOMEUTENTE FROM UTENTI ORDER BY CODICE")),
            (QVariantList{QStringLiteral("DEMO"), QStringLiteral("PROVA")}));
  EXPECT_EQ(scalar(user_, QStringLiteral("SELECT DITTA FROM UTENTI WHERE (NOMEUTENTE='DEMO')")),
            QVariant(QStringLiteral("DEMO SRL")));
  EXPECT_EQ(scalar(user_, QStringLiteral("SELECT PWDUTENTE FROM UTENTI WHERE (NOMEUTENTE='DEMO')"))
                .toString(),
            QString());
  EXPECT_EQ(
      scalar(user_, QStringLiteral("SELECT PROFILOSICUREZZA FROM UTENTI WHERE CODICE='1'")).toInt(),
      0);

  // The library's own settings lookup.
  EXPECT_EQ(scalar(user_, QStringLiteral("SELECT VALORE FROM TABVANDEL WHERE (UTENTE='1')AND"
                                         "(INTESTAZIONE='DEMO SRL')AND(PARAMETRO='Archivio')")),
            QVariant(settings.archive));
  EXPECT_EQ(column(user_, QStringLiteral("SELECT PARAMETRO FROM TABVANDEL WHERE (UTENTE='2') "
                                         "ORDER BY PROGRESSIVO")),
            (QVariantList{QStringLiteral("Directory bin"), QStringLiteral("Archivio"),
                          QStringLiteral("Directory tabelle temporanee")}));
  EXPECT_EQ(scalar(user_, QStringLiteral("SELECT VANDEL FROM UTENTI WHERE CODICE='1'")),
            QVariant(QStringLiteral("[DEMO SRL]\n"
                                    "Directory bin=C:\\ORBELAN\\BIN\\\n"
                                    "Archivio=C:\\ORBELAN\\DATI\\ARCHIVIO.FDB\n"
                                    "Directory tabelle temporanee=C:\\ORBELAN\\BIN\\TEMP\\\n")));
}

TEST_F(HostDatabases, DemoArchiveRows) {
  host::createArchiveSchema(archive_);
  host::fillArchiveDemo(archive_);

  const auto count = [&](const QString& from) {
    return scalar(archive_, QStringLiteral("SELECT COUNT(*) FROM ") + from).toInt();
  };
  EXPECT_EQ(count(QStringLiteral("ETICHETTE WHERE IDLANCIOSTAMPA IS NULL")), 60);
  EXPECT_EQ(count(QStringLiteral("ETICHETTE E JOIN LANCISTAMPA L ON E.IDLANCIOSTAMPA=L.ID")), 10);
  EXPECT_EQ(count(QStringLiteral("ETICHETTE E JOIN ACQUISIZIONI A ON E.IDACQUISIZIONE=A.ID")), 70);
  EXPECT_EQ(count(QStringLiteral("ETICHETTE WHERE CAUSALE='RIASS' AND ORDINE IS NOT NULL")), 30);
  EXPECT_EQ(count(QStringLiteral("ETICHETTE WHERE CODICE_EAN IS NOT NULL")), 35);
  EXPECT_EQ(count(QStringLiteral("LANCISTAMPA")), 1);
  EXPECT_EQ(count(QStringLiteral("ACQUISIZIONI")), 2);
  EXPECT_EQ(count(QStringLiteral("ANAMAG")), 28);
  EXPECT_EQ(count(QStringLiteral("CLASSIFICAZIONE3")), 5);
  EXPECT_EQ(count(QStringLiteral("CLASSIFICAZIONE4")), 5);
  EXPECT_EQ(count(QStringLiteral("MOVMAG")), 70);
  EXPECT_EQ(scalar(archive_, QStringLiteral("SELECT TESTO FROM TABX WHERE (NOME='ModoStampa')")),
            QVariant(QStringLiteral("L")));
  EXPECT_EQ(count(QStringLiteral("TABX WHERE (NOME='StampanteTermica')AND(UTENTE='1') AND TESTO "
                                 "IS NULL")),
            1);
  {
    // The library's next keys follow the demo rows.
    db::Transaction transaction(archive_);
    EXPECT_EQ(db::generatorValue(transaction, QStringLiteral("IDETICHETTECOUNTER")), 71);
    EXPECT_EQ(db::generatorValue(transaction, QStringLiteral("IDLANCISTAMPACOUNTER")), 2);
    EXPECT_EQ(db::generatorValue(transaction, QStringLiteral("CODICETABXCOUNTER")), 3);
  }

  // Every EAN code carries a valid check digit.
  for (const QVariant& value :
       column(archive_, QStringLiteral("SELECT CODICE_EAN FROM ETICHETTE WHERE CODICE_EAN IS NOT "
                                       "NULL"))) {
    const QString ean = value.toString();
    ASSERT_EQ(ean.size(), 13);
    int sum = 0;
    for (int i = 0; i < 13; ++i) sum += ean.at(i).digitValue() * (i % 2 == 0 ? 1 : 3);
    EXPECT_EQ(sum % 10, 0) << ean.toStdString();
  }

  // Every label barcode fits the reprint table and decodes through the
  // movements and the article data into a model and a variant.
  EXPECT_EQ(count(QStringLiteral("ETICHETTE WHERE CHAR_LENGTH(CODICE)<>20")), 0);
  EXPECT_EQ(count(QStringLiteral(
                "ETICHETTE E JOIN MOVMAG M ON M.NUMEROSERIALE=E.CODICE "
                "JOIN ANAMAG A ON A.CODICE=M.CODICEARTICOLO AND A.ESTENSIONE=M.ESTENSIONECODICEART "
                "JOIN CLASSIFICAZIONE3 C3 ON A.CLASSIFICAZIONE3=C3.CODICE "
                "JOIN CLASSIFICAZIONE4 C4 ON A.CLASSIFICAZIONE4=C4.CODICE")),
            70);
  EXPECT_EQ(scalar(archive_,
                   QStringLiteral("SELECT C3.DESCRIZIONE AS MODELLO,C3.DESCRIZIONE1 AS DESC1, "
                                  "C4.DESCRIZIONE AS VARIANTE,C4.DESCRIZIONE1 AS DESC2 FROM "
                                  "ANAMAG A\nLEFT JOIN CLASSIFICAZIONE3 C3 ON "
                                  "A.CLASSIFICAZIONE3=C3.CODICE\nLEFT JOIN CLASSIFICAZIONE4 C4 ON "
                                  "A.CLASSIFICAZIONE4=C4.CODICE\nWHERE A.CODICE='0530005' AND "
                                  "ESTENSIONE='48'")),
            QVariant(QStringLiteral("GILET")));
  // Text outside ASCII survives the trip through the database.
  EXPECT_EQ(count(QStringLiteral("ETICHETTE WHERE DESCRIZIONE='GILET ALL\u00B4INGLESE - NERO'")),
            8);
}

}  // namespace
