#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "query/designer/CalcSommaForm.h"
#include "support/FirebirdFixture.h"
#include "support/ScriptedUi.h"

namespace {

class CalcSommaFormTest : public FirebirdTest {
 protected:
  void SetUp() override {
    database_ = createDatabase();
    execute(*database_,
            {QStringLiteral("CREATE TABLE MOVIMENTI (ZQTA SMALLINT, CODICE VARCHAR(20), "
                            "ID INTEGER, DATA DATE, PESO DOUBLE PRECISION, "
                            "AIMPORTO NUMERIC(15,2), ORA TIME, CONTATORE BIGINT, "
                            "NOTE BLOB SUB_TYPE 1, MEDIA FLOAT, SCONTO DECIMAL(4,1))")});
    transaction_ = std::make_unique<db::Transaction>(*database_);
  }

  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
  ScriptedPrompter answers_;
  ScopedPrompter installed_{answers_};
};

QStringList items(const QComboBox& box) {
  QStringList names;
  for (int i = 0; i < box.count(); ++i) names << box.itemText(i);
  return names;
}

}  // namespace

TEST_F(CalcSommaFormTest, ListsTheNumericColumnsAndWantsBothValues) {
  TCalcSommaForm sum(QStringLiteral("MOVIMENTI"), *database_, *transaction_);
  EXPECT_EQ(items(*sum.ComboCampo()),
            (QStringList{"AIMPORTO", "CONTATORE", "ID", "MEDIA", "PESO", "SCONTO", "ZQTA"}));
  EXPECT_EQ(sum.ComboCampo()->currentIndex(), -1);
  EXPECT_EQ(sum.EditSomma()->text(), QStringLiteral("Tot"));

  answers_.script([&](QDialog& dialog) {
    // The two captions put the focus in their boxes.
    clickButton(dialog, QStringLiteral("LabelTitoloSomma"));
    EXPECT_EQ(dialog.focusWidget(), sum.EditSomma());
    clickButton(dialog, QStringLiteral("LabelCampoDaSommare"));
    EXPECT_EQ(dialog.focusWidget(), sum.ComboCampo());

    // Ok does nothing until a column and a title are both given.
    clickButton(dialog, QStringLiteral("ButtonOk"));
    EXPECT_TRUE(dialog.isVisible());
    sum.ComboCampo()->setCurrentIndex(2);
    typeInto(dialog, QStringLiteral("EditSomma"), QString());
    clickButton(dialog, QStringLiteral("ButtonOk"));
    EXPECT_TRUE(dialog.isVisible());
    typeInto(dialog, QStringLiteral("EditSomma"), QStringLiteral("Totale"));
    return clickButton(dialog, QStringLiteral("ButtonOk"));
  });
  EXPECT_EQ(ui::runDialog(sum), ui::ResultOk);
  EXPECT_EQ(sum.ComboCampo()->currentText(), QStringLiteral("ID"));
  EXPECT_EQ(sum.EditSomma()->text(), QStringLiteral("Totale"));
  EXPECT_EQ(answers_.dialogs(), QStringList{QStringLiteral("Inserimento somma")});
  EXPECT_TRUE(answers_.texts().isEmpty());

  answers_.script(
      [](QDialog& dialog) { return clickButton(dialog, QStringLiteral("ButtonCancel")); });
  EXPECT_EQ(ui::runDialog(sum), ui::ResultCancel);
}

TEST_F(CalcSommaFormTest, ATableTheDatabaseRefusesLeavesTheListEmpty) {
  QStringList statements;
  db::setStatementObserver([&](const QStringList& lines) { statements << lines; });
  {
    TCalcSommaForm unknown(QStringLiteral("NONESISTE"), *database_, *transaction_);
    EXPECT_EQ(unknown.ComboCampo()->count(), 0);
    EXPECT_EQ(answers_.messages().size(), 1u);
    if (!answers_.messages().empty()) {
      EXPECT_EQ(answers_.messages()[0].kind, ui::MessageKind::Error);
      EXPECT_TRUE(answers_.messages()[0].text.contains(QStringLiteral("NONESISTE")))
          << answers_.messages()[0].text.toStdString();
    }
  }
  // A name that is no table name never reaches the database.
  TCalcSommaForm injected(QStringLiteral("MOVIMENTI; DELETE FROM MOVIMENTI"), *database_,
                          *transaction_);
  db::setStatementObserver(nullptr);
  EXPECT_EQ(injected.ComboCampo()->count(), 0);
  EXPECT_EQ(answers_.messages().size(), 2u);
  EXPECT_EQ(statements, QStringList{QStringLiteral("SELECT * FROM NONESISTE")});
}
