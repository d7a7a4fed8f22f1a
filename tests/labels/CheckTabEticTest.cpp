#include <QSet>

#include "db/Query.h"
#include "db/Transaction.h"
#include "labels/CheckTabEtic.h"
#include "support/FirebirdFixture.h"
#include "support/ScriptedUi.h"

namespace {

const QStringList kAdded{"CAUSALE VARCHAR(15)",      "ORDINE VARCHAR(10)",
                         "CODCLIDESTIN VARCHAR(10)", "RAGSOCCLIDESTIN VARCHAR(64)",
                         "FORNITORE VARCHAR(10)",    "CODICE_EAN VARCHAR(13)"};
const QString kWarning =
    "Attenzione: tabella da aggiornare. I campi mancanti verranno aggiunti automaticamente";
const QString kFailure = "Errore interno durante l'aggiornamento della tabella";

// An older label table: the base columns and the added ones not in `missing`.
QString createEtichette(const QSet<QString>& missing, const QString& kind = "TABLE") {
  QStringList columns{"ID INTEGER NOT NULL", "IDACQUISIZIONE INTEGER", "CODICE VARCHAR(40)",
                      "DATIPRODOTTO VARCHAR(80)", "DESCRIZIONE VARCHAR(80)"};
  for (const QString& added : kAdded)
    if (!missing.contains(added.section(' ', 0, 0))) columns << added;
  columns << "INDIRIZZO VARCHAR(64)"
          << "IDLANCIOSTAMPA INTEGER";
  if (kind == "TABLE") return "RECREATE TABLE ETICHETTE (" + columns.join(", ") + ")";
  // A view with the same columns, which no ALTER TABLE can change.
  QStringList names;
  for (const QString& column : columns) names << column.section(' ', 0, 0);
  return "CREATE VIEW ETICHETTE AS SELECT " + names.join(", ") + " FROM BASE";
}

class CheckTabEticTest : public FirebirdTest {
 protected:
  void SetUp() override { database_ = createDatabase(); }

  // Runs the upgrade in a window-like transaction and returns the statements
  // it ran; the transaction stays open in transaction_.
  QList<QStringList> upgrade(bool expectSuccess = true) {
    transaction_ = std::make_unique<db::Transaction>(
        *database_, QStringList{"isc_tpb_concurrency", "isc_tpb_nowait"});
    transaction_->start();
    query_ = std::make_unique<db::Query>(*database_, *transaction_);
    QList<QStringList> statements;
    db::setStatementObserver([&](const QStringList& lines) { statements << lines; });
    EXPECT_EQ(labels::CheckTabEtic(*query_), expectSuccess);
    db::setStatementObserver(nullptr);
    return statements;
  }

  ScriptedPrompter prompter_;
  ScopedPrompter scope_{prompter_};
  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
  std::unique_ptr<db::Query> query_;
};

TEST_F(CheckTabEticTest, AddsTheMissingColumnsInListOrderWithOneStatement) {
  struct Case {
    QSet<QString> missing;
    QStringList alter;  // empty: no statement, no message
  };
  const QList<Case> cases{
      {{}, {}},
      {{"CODICE_EAN"}, {"ALTER TABLE ETICHETTE", "ADD CODICE_EAN VARCHAR(13)"}},
      {{"FORNITORE", "ORDINE"},
       {"ALTER TABLE ETICHETTE", "ADD ORDINE VARCHAR(10)", ",", "ADD FORNITORE VARCHAR(10)"}},
      {{"CAUSALE", "ORDINE", "CODCLIDESTIN", "RAGSOCCLIDESTIN", "FORNITORE", "CODICE_EAN"},
       {"ALTER TABLE ETICHETTE", "ADD CAUSALE VARCHAR(15)", ",", "ADD ORDINE VARCHAR(10)", ",",
        "ADD CODCLIDESTIN VARCHAR(10)", ",", "ADD RAGSOCCLIDESTIN VARCHAR(64)", ",",
        "ADD FORNITORE VARCHAR(10)", ",", "ADD CODICE_EAN VARCHAR(13)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QStringList(c.missing.values()).join(',').toStdString());
    query_.reset();
    transaction_.reset();
    execute(*database_, {createEtichette(c.missing)});
    prompter_.reset();

    QList<QStringList> statements = upgrade();
    ASSERT_GE(statements.size(), 6);
    const char* order[] = {"CAUSALE",         "ORDINE",    "CODCLIDESTIN",
                           "RAGSOCCLIDESTIN", "FORNITORE", "CODICE_EAN"};
    for (int i = 0; i < 6; ++i)
      EXPECT_EQ(statements[i], (QStringList{"SELECT *", "FROM RDB$RELATION_FIELDS",
                                            QString("WHERE (RDB$FIELD_NAME='%1')").arg(order[i]),
                                            "AND(RDB$RELATION_NAME='ETICHETTE')"}));
    if (c.alter.isEmpty()) {
      EXPECT_EQ(statements.size(), 6);
      EXPECT_TRUE(prompter_.texts().isEmpty());
      continue;
    }
    ASSERT_EQ(statements.size(), 7);
    EXPECT_EQ(statements[6], c.alter);
    ASSERT_EQ(prompter_.messages().size(), 1u);
    EXPECT_EQ(prompter_.messages()[0].kind, ui::MessageKind::Warning);
    EXPECT_EQ(prompter_.messages()[0].text, kWarning);

    // The columns are there for the window's next statements in the same
    // transaction, and committed for everyone else.
    EXPECT_TRUE(transaction_->isActive());
    query_->sql = QStringList{
        "SELECT CAUSALE, ORDINE, CODCLIDESTIN, RAGSOCCLIDESTIN, FORNITORE, "
        "CODICE_EAN FROM ETICHETTE"};
    EXPECT_NO_THROW(query_->open());
    db::Transaction other(*database_);
    db::Query check(*database_, other);
    check.sql << "SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME='ETICHETTE'";
    check.open();
    EXPECT_EQ(check.value(0, 0).toInt(), 13);
  }
}

TEST_F(CheckTabEticTest, AFailedUpgradeIsReportedAndTheTransactionGoesOn) {
  execute(*database_, {"CREATE TABLE BASE (ID INTEGER NOT NULL, IDACQUISIZIONE INTEGER, "
                       "CODICE VARCHAR(40), DATIPRODOTTO VARCHAR(80), DESCRIZIONE VARCHAR(80), "
                       "ORDINE VARCHAR(10), CODCLIDESTIN VARCHAR(10), "
                       "RAGSOCCLIDESTIN VARCHAR(64), FORNITORE VARCHAR(10), "
                       "INDIRIZZO VARCHAR(64), IDLANCIOSTAMPA INTEGER)",
                       createEtichette({"CAUSALE", "CODICE_EAN"}, "VIEW")});
  const QList<QStringList> statements = upgrade(false);
  ASSERT_EQ(statements.size(), 7);
  EXPECT_EQ(statements[6], (QStringList{"ALTER TABLE ETICHETTE", "ADD CAUSALE VARCHAR(15)", ",",
                                        "ADD CODICE_EAN VARCHAR(13)"}));
  EXPECT_EQ(prompter_.texts(), (QStringList{kWarning, kFailure}));
  EXPECT_EQ(prompter_.messages()[1].kind, ui::MessageKind::Error);
  query_->sql = QStringList{"SELECT * FROM ETICHETTE WHERE IDLANCIOSTAMPA IS NULL"};
  EXPECT_NO_THROW(query_->open()) << "the window opens its list anyway";
  // Nothing of the failed statement is left pending in the window's
  // transaction to fail its next commit.
  query_->sql = QStringList{"INSERT INTO BASE (ID) VALUES (1)"};
  EXPECT_NO_THROW(query_->execSql());
  EXPECT_NO_THROW(transaction_->commit());
}

}  // namespace
