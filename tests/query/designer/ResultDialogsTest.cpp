#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

#include "db/MemTable.h"
#include "grid/RadioGroup.h"
#include "query/designer/OrdETotForm.h"
#include "query/designer/RaggMesiForm.h"
#include "query/model/AnswerCodes.h"
#include "support/ScriptedUi.h"

using query::model::AnswerCodes;

namespace {

const QString kTooManyKeys = QStringLiteral("Attenzione: Troppi campi in Chiave di ordinamento");

class ResultDialogsTest : public ::testing::Test {
 protected:
  ScriptedPrompter answers_;
  ScopedPrompter installed_{answers_};
};

QStringList items(const QListWidget* list) {
  QStringList names;
  for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
  return names;
}

// Double-clicks the item of that name as a user would.
void doubleClick(QListWidget* list, const QString& name) {
  const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
  ASSERT_EQ(found.size(), 1) << name.toStdString();
  const QPoint at = list->visualItemRect(found.first()).center();
  // A double-click counts on the item the button went down on.
  QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}

QList<int> codesOf(const AnswerCodes& codes, int columns) {
  QList<int> list;
  for (int column = 0; column < columns; ++column) list << codes.code(column);
  return list;
}

}  // namespace

TEST_F(ResultDialogsTest, SortKeysAndTotalsMoveBetweenListsAndUpdateTheCodes) {
  db::MemTable answer;
  answer.addField("CODICE", db::FieldType::String, 20);
  answer.addField("QTA", db::FieldType::Integer);
  answer.addField("NOTE", db::FieldType::Memo);
  answer.addField("PREZZO", db::FieldType::Bcd);
  answer.addField("DATA", db::FieldType::Date);
  answer.open();
  AnswerCodes codes;
  codes.setCode(1, 10210);  // second key, descending, with total
  codes.setCode(3, 1);      // grouping only
  codes.setCode(4, 10100);  // first key
  const QList<int> before = codesOf(codes, 5);

  TOrdETotForm form(answer, codes, "DITTA");
  EXPECT_EQ(form.windowTitle(), "Ordinamento e Totali");
  EXPECT_EQ(items(form.ListBox1()), (QStringList{"CODICE", "PREZZO"}));
  EXPECT_EQ(items(form.ListBox2()), (QStringList{"DATA", "QTA"}));
  EXPECT_EQ(items(form.ListBox3()), (QStringList{"PREZZO"}));
  EXPECT_EQ(items(form.ListBox4()), (QStringList{"QTA"}));
  EXPECT_EQ(form.RadioGroup1()->ItemIndex(), 1);

  const auto rearrange = [](TOrdETotForm& form) {
    doubleClick(form.ListBox1(), "PREZZO");
    doubleClick(form.ListBox2(), "DATA");
    doubleClick(form.ListBox4(), "QTA");
    doubleClick(form.ListBox3(), "PREZZO");
    // Without a chosen item a double-click moves nothing.
    form.ListBox3()->setCurrentRow(-1);
    form.ListBox3DblClick();
    form.RadioGroup1()->button(0)->click();
  };
  answers_.script([&](QDialog& dialog) {
    rearrange(form);
    EXPECT_EQ(items(form.ListBox2()), (QStringList{"QTA", "PREZZO"}));
    EXPECT_EQ(items(form.ListBox1()), (QStringList{"CODICE", "DATA"}));
    EXPECT_EQ(items(form.ListBox3()), (QStringList{"QTA"}));
    EXPECT_EQ(items(form.ListBox4()), (QStringList{"PREZZO"}));
    return clickButton(dialog, "ButtonChiudi");
  });
  EXPECT_EQ(ui::runDialog(form), ui::ResultCancel);
  EXPECT_EQ(codesOf(codes, 5), before);

  TOrdETotForm again(answer, codes, "DITTA");
  answers_.script([&](QDialog& dialog) {
    rearrange(again);
    return clickButton(dialog, "ButtonAggiorna");
  });
  EXPECT_EQ(ui::runDialog(again), ui::ResultOk);
  // QTA first key, PREZZO second key with its total and grouping, ascending.
  EXPECT_EQ(codesOf(codes, 5), (QList<int>{0, 100, 0, 211, 0}));
  EXPECT_TRUE(answers_.texts().isEmpty());
}

TEST_F(ResultDialogsTest, ASortKeyHoldsThirtyOneColumns) {
  db::MemTable answer;
  for (int i = 1; i <= 33; ++i)
    answer.addField(QStringLiteral("C%1").arg(i), db::FieldType::Integer);
  answer.open();
  AnswerCodes codes;
  TOrdETotForm form(answer, codes, "DITTA");
  answers_.script([&](QDialog& dialog) {
    for (int key = 1; key <= 32; ++key) {
      form.ListBox1()->setCurrentRow(0);
      form.ListBox1DblClick();
    }
    EXPECT_EQ(form.ListBox2()->count(), 31);
    EXPECT_EQ(items(form.ListBox1()), (QStringList{"C32", "C33"}));
    return clickButton(dialog, "ButtonAggiorna");
  });
  EXPECT_EQ(ui::runDialog(form), ui::ResultOk);
  EXPECT_EQ(answers_.texts(), QStringList{kTooManyKeys});
  EXPECT_EQ(codes.code(30), 3100);
  EXPECT_EQ(codes.code(31), 0);
}

TEST_F(ResultDialogsTest, YearAndMonthExtractionChecksItsChoicesInOrder) {
  TRaggMesiForm empty({});
  answers_.script([](QDialog& dialog) { return clickButton(dialog, "ButtonOk"); });
  ui::runDialog(empty);
  EXPECT_EQ(answers_.texts(), QStringList{"Selezionare un campo data!"});

  answers_.reset();
  TRaggMesiForm form({"DATAIMPORT", "DATAORA"});
  EXPECT_EQ(form.windowTitle(), "Estrazione anni e mesi");
  EXPECT_EQ(form.EditNomiCampi()->currentText(), "DATAIMPORT");
  EXPECT_EQ(form.RadioGroup1()->ItemIndex(), -1);
  answers_.script([&](QDialog& dialog) {
    clickButton(dialog, "ButtonSelezioneCampo");
    EXPECT_EQ(dialog.focusWidget(), form.EditNomiCampi());
    clickButton(dialog, "ButtonOk");
    EXPECT_TRUE(dialog.isVisible());
    // A typed name stays when the datum is chosen.
    typeInto(dialog, "EditNomeCampoRisposta", "Periodo");
    form.RadioGroup1()->button(1)->click();
    EXPECT_EQ(form.EditNomeCampoRisposta()->text(), "Periodo");
    typeInto(dialog, "EditNomeCampoRisposta", "");
    clickButton(dialog, "ButtonOk");
    EXPECT_TRUE(dialog.isVisible());
    // An empty name takes the datum's.
    form.RadioGroup1()->button(0)->click();
    EXPECT_EQ(form.EditNomeCampoRisposta()->text(), "Anno");
    form.EditNomiCampi()->setCurrentIndex(1);
    return clickButton(dialog, "ButtonOk");
  });
  EXPECT_EQ(ui::runDialog(form), ui::ResultOk);
  EXPECT_EQ(answers_.texts(), (QStringList{"Selezionare il dato da estrarre!",
                                           "Impostare il nome del campo di risposta!"}));
  EXPECT_EQ(form.condition(), "(EXTRACT (YEAR from DATAORA)) AS Anno");
  EXPECT_EQ(query::designer::extractCondition("DATAIMPORT", true, "Mese"),
            "(EXTRACT (MONTH from DATAIMPORT)) AS Mese");

  answers_.script([](QDialog& dialog) { return clickButton(dialog, "ButtonCancel"); });
  EXPECT_EQ(ui::runDialog(form), ui::ResultCancel);
}
