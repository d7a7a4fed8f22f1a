#include <gtest/gtest.h>

#include <QComboBox>
#include <QLocale>
#include <memory>

#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "query/designer/SommaForm.h"
#include "support/FirebirdFixture.h"
#include "support/ScriptedUi.h"

namespace {

class SommaFormTest : public FirebirdTest {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    database_ = createDatabase();
    execute(*database_, {"CREATE TABLE M (CODICE VARCHAR(10), Q SMALLINT, N INTEGER, "
                         "F DOUBLE PRECISION, B NUMERIC(15,2), G BIGINT, D DATE)",
                         "INSERT INTO M VALUES ('A', 1, 10, 0.5, 1000.10, 1, NULL)",
                         "INSERT INTO M VALUES ('B', 2, 20, 0.25, 234.41, 2, NULL)"});
    transaction_ = std::make_unique<db::Transaction>(*database_);
    answer_ = std::make_unique<db::Query>(*database_, *transaction_);
  }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }

  // Runs the dialog on the answer's chosen column, calculating once.
  void sumOf(const QStringList& statement, const QString& column) {
    answer_->close();
    answer_->sql = statement;
    answer_->open();
    TSommaForm form("DITTA", "C:\\bin\\", "C:\\base\\", *answer_);
    answers_.script([&](QDialog& dialog) {
      form.EditCampi()->setCurrentText(column);
      clickButton(dialog, "ButtonCalcola");
      return clickButton(dialog, "ButtonOk");
    });
    EXPECT_EQ(ui::runDialog(form), ui::ResultOk);
  }

  std::unique_ptr<db::Database> database_;
  std::unique_ptr<db::Transaction> transaction_;
  std::unique_ptr<db::Query> answer_;
  ScriptedPrompter answers_;
  ScopedPrompter installed_{answers_};
};

}  // namespace

TEST_F(SommaFormTest, OffersTheNumericColumnsAndShowsTheirTotal) {
  answer_->sql = QStringList{"SELECT * FROM M"};
  answer_->open();
  TSommaForm form("DITTA", "C:\\bin\\", "C:\\base\\", *answer_);
  EXPECT_EQ(form.windowTitle(), "Calcolo somma");
  QStringList offered;
  for (int i = 0; i < form.EditCampi()->count(); ++i) offered << form.EditCampi()->itemText(i);
  EXPECT_EQ(offered, (QStringList{"Q", "N", "F", "B"}));
  EXPECT_EQ(form.EditCampi()->currentText(), "Q");

  sumOf({"SELECT * FROM M"}, "B");
  sumOf({"SELECT * FROM M"}, "N");
  sumOf({"SELECT * FROM M"}, "F");
  EXPECT_EQ(answers_.texts(), (QStringList{"1.234,51", "30,00", "0,75"}));
  EXPECT_EQ(answers_.messages().front().kind, ui::MessageKind::Plain);
}

TEST_F(SommaFormTest, AnEmptyAnswerGivesAnEmptyMessage) {
  sumOf({"SELECT * FROM M", "WHERE CODICE = 'Z'"}, "B");
  EXPECT_EQ(answers_.texts(), QStringList{""});
}
