#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "query/designer/EditCondForm.h"
#include "query/designer/EliminaForm.h"
#include "query/designer/FormuleForm.h"
#include "query/designer/LimitedMemo.h"
#include "query/designer/RangeForm.h"
#include "support/ScriptedUi.h"
#include "ui/EditData.h"

using query::designer::RangeKind;

namespace {

const QString kRangeRefused = QStringLiteral("Impostare correttamente i valori del range");

class SmallDialogsTest : public ::testing::Test {
 protected:
  ScriptedPrompter answers_;
  ScopedPrompter installed_{answers_};
};

}  // namespace

TEST_F(SmallDialogsTest, RangeChecksTheBoundsOnOk) {
  struct Case {
    RangeKind kind;
    const char* first;
    const char* second;
    int result;
    const char* firstAfter;
    const char* secondAfter;
  };
  const std::vector<Case> cases = {
      // Values are compared as text.
      {RangeKind::Valore, "9", "10", 0, "9", "10"},
      {RangeKind::Valore, "10", "9", 1, "10", "9"},
      {RangeKind::Valore, "B", "A", 0, "B", "A"},
      {RangeKind::Valore, "5", "", 1, "5", ""},
      {RangeKind::Valore, "", "", 1, "", ""},
      // The order of dates is not compared; each must be a date.
      {RangeKind::Data, "31/12/2005", "01/01/2005", 1, "31/12/2005", "01/01/2005"},
      {RangeKind::Data, "1.2.05", "", 1, "01/02/2005", ""},
      {RangeKind::Data, "", "31/02/2005", 0, "", "31/02/2005"},
      {RangeKind::Data, "abc", "1-1-2005", 0, "abc", "01/01/2005"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.first) + " / " + c.second);
    answers_.reset();
    TRangeForm range(c.kind);
    const bool dates = c.kind == RangeKind::Data;
    QLineEdit* first = dates ? static_cast<QLineEdit*>(range.EditData1()) : range.Edit1();
    QLineEdit* second = dates ? static_cast<QLineEdit*>(range.EditData2()) : range.Edit2();
    answers_.script([&](QDialog& dialog) {
      EXPECT_EQ(dialog.focusWidget(), first);
      EXPECT_TRUE(first->isVisible());
      EXPECT_TRUE(second->isVisible());
      EXPECT_FALSE(
          (dates ? range.Edit1() : static_cast<QLineEdit*>(range.EditData1()))->isVisible());
      first->setText(QString::fromUtf8(c.first));
      second->setText(QString::fromUtf8(c.second));
      return clickButton(dialog, QStringLiteral("ButtonOk"));
    });
    EXPECT_EQ(ui::runDialog(range), c.result);
    EXPECT_FALSE(range.isVisible());  // closes in both cases
    EXPECT_EQ(answers_.texts(), c.result == 1 ? QStringList() : QStringList{kRangeRefused});
    EXPECT_EQ(first->text(), QString::fromUtf8(c.firstAfter));
    EXPECT_EQ(second->text(), QString::fromUtf8(c.secondAfter));
  }
  EXPECT_EQ(answers_.dialogs(), QStringList{QStringLiteral("Range Valori")});
}

TEST_F(SmallDialogsTest, RangeRewritesADateOnLeavingItsBox) {
  TRangeForm range(RangeKind::Data);
  answers_.script([&](QDialog& dialog) {
    dialog.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    range.EditData1()->setText(QStringLiteral("3.4.05"));
    range.EditData2()->setFocus();
    EXPECT_EQ(range.EditData1()->text(), QStringLiteral("03/04/2005"));
    // Not a date: left as typed.
    range.EditData2()->setText(QStringLiteral("32/"));
    range.EditData1()->setFocus();
    EXPECT_EQ(range.EditData2()->text(), QStringLiteral("32/"));
    return clickButton(dialog, QStringLiteral("ButtonCancel"));
  });
  EXPECT_EQ(ui::runDialog(range), ui::ResultCancel);
  EXPECT_TRUE(answers_.texts().isEmpty());
}

TEST_F(SmallDialogsTest, FormulaBuiltFromTheFieldList) {
  TFormuleForm formula({QStringLiteral("CODICE"), QStringLiteral("QTA"), QStringLiteral("PREZZO")},
                       QStringLiteral("QTA"));
  answers_.script([&](QDialog& dialog) {
    EXPECT_EQ(dialog.focusWidget(), formula.EditFormula());
    EXPECT_EQ(formula.EditNomiCampi()->currentText(), QStringLiteral("QTA"));
    EXPECT_EQ(formula.EditNomiCampi()->count(), 3);
    typeInto(dialog, QStringLiteral("EditFormula"), QStringLiteral("2*"));
    clickButton(dialog, QStringLiteral("ButtonAddField"));
    formula.EditNomiCampi()->setCurrentIndex(2);
    clickButton(dialog, QStringLiteral("ButtonAddField"));
    EXPECT_TRUE(dialog.isVisible());
    typeInto(dialog, QStringLiteral("EditNomeCampoRisposta"), QStringLiteral("TOT"));
    return clickButton(dialog, QStringLiteral("ButtonOk"));
  });
  EXPECT_EQ(ui::runDialog(formula), ui::ResultOk);
  EXPECT_EQ(formula.EditFormula()->text(), QStringLiteral("2*QTAPREZZO"));
  EXPECT_EQ(formula.EditNomeCampoRisposta()->text(), QStringLiteral("TOT"));
  EXPECT_EQ(answers_.dialogs(), QStringList{QStringLiteral("Inserisci Formule")});

  // A name that is not among the selectable fields still shows.
  TFormuleForm other({QStringLiteral("CODICE")}, QStringLiteral("A.DESCRIZIONE"));
  EXPECT_EQ(other.EditNomiCampi()->currentText(), QStringLiteral("A.DESCRIZIONE"));

  // The legend's last note, in blue.
  bool noteFound = false;
  for (const QLabel* label : formula.findChildren<QLabel*>()) {
    if (label->text().startsWith(QStringLiteral("Parametri SOMMAPROG:"))) {
      noteFound = true;
      EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::blue));
    }
  }
  EXPECT_TRUE(noteFound);
}

TEST_F(SmallDialogsTest, FormulaOkWithoutAFormulaClosesWithoutAResult) {
  TFormuleForm formula({QStringLiteral("QTA")}, QStringLiteral("QTA"));
  answers_.script([](QDialog& dialog) {
    typeInto(dialog, QStringLiteral("EditNomeCampoRisposta"), QStringLiteral("TOT"));
    return clickButton(dialog, QStringLiteral("ButtonOk"));
  });
  EXPECT_EQ(ui::runDialog(formula), ui::ResultUnset);
  EXPECT_FALSE(formula.isVisible());
  EXPECT_EQ(answers_.texts(), QStringList{QStringLiteral("Formula non impostata!")});

  answers_.script(
      [](QDialog& dialog) { return clickButton(dialog, QStringLiteral("ButtonCancel")); });
  EXPECT_EQ(ui::runDialog(formula), ui::ResultCancel);
}

TEST_F(SmallDialogsTest, ConditionEditorKeysAndLength) {
  TEditCondForm editor;
  EXPECT_EQ(editor.Memo1(), control<QPlainTextEdit>(editor, QStringLiteral("Memo1")));
  EXPECT_TRUE(editor.okButton()->isDefault());
  editor.Memo1()->setPlainText(QStringLiteral("(A>1)"));
  answers_.script([&](QDialog& dialog) {
    EXPECT_EQ(dialog.focusWidget(), editor.Memo1());
    QTest::keyClick(editor.Memo1(), Qt::Key_Escape);
    return dialog.result();
  });
  EXPECT_EQ(ui::runDialog(editor), ui::ResultCancel);
  EXPECT_EQ(answers_.dialogs(), QStringList{QStringLiteral("EDITAZIONE CONDIZIONE QUERY")});

  // Typing stops at 1024 characters, line breaks included.
  answers_.script([&](QDialog& dialog) {
    editor.Memo1()->setPlainText(QString(1020, QLatin1Char('x')));
    editor.Memo1()->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor.Memo1(), QStringLiteral("AND"));
    QTest::keyClick(editor.Memo1(), Qt::Key_Return);
    QTest::keyClicks(editor.Memo1(), QStringLiteral("B>2"));
    return clickButton(dialog, QStringLiteral("ButtonOk"));
  });
  EXPECT_EQ(ui::runDialog(editor), ui::ResultOk);
  EXPECT_EQ(editor.Memo1()->toPlainText(), QString(1020, QLatin1Char('x')) + "AND\n");

  // A longer condition handed in is kept whole; a selection can be typed over.
  const QString longer(1500, QLatin1Char('y'));
  editor.Memo1()->setPlainText(longer);
  editor.Memo1()->moveCursor(QTextCursor::End);
  QTest::keyClick(editor.Memo1(), Qt::Key_Z);
  EXPECT_EQ(editor.Memo1()->toPlainText(), longer);
  editor.Memo1()->selectAll();
  QTest::keyClick(editor.Memo1(), Qt::Key_Z);
  EXPECT_EQ(editor.Memo1()->toPlainText(), QStringLiteral("z"));
}

TEST_F(SmallDialogsTest, RemoveTableReturnsTheChosenHeader) {
  const QStringList headers = {QStringLiteral("LANCISTAMPA = A"),
                               QStringLiteral("ACQUISIZIONI = B")};
  struct Case {
    int chosen;
    const char* button;
    int result;
    const char* name;
  };
  const std::vector<Case> cases = {
      {1, "ButtonOk", 1, "ACQUISIZIONI = B"},
      {-1, "ButtonOk", 1, ""},
      {0, "ButtonCancel", 2, "LANCISTAMPA = A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TEliminaForm remove(headers);
    EXPECT_EQ(remove.EditNomeTabella()->currentIndex(), -1);
    answers_.script([&](QDialog& dialog) {
      auto* list = control<QComboBox>(dialog, QStringLiteral("EditNomeTabella"));
      EXPECT_FALSE(list->isEditable());
      list->setCurrentIndex(c.chosen);
      return clickButton(dialog, QString::fromUtf8(c.button));
    });
    EXPECT_EQ(ui::runDialog(remove), c.result);
    EXPECT_EQ(remove.EditNomeTabella()->currentText(), QString::fromUtf8(c.name));
  }
  EXPECT_EQ(answers_.dialogs().value(0), QStringLiteral("Elimina tabella collegata"));
}
