#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "support/ScriptedUi.h"
#include "ui/DorviDataForm.h"
#include "ui/DorviIn1Form.h"
#include "ui/DorviIn2Form.h"
#include "ui/EditData.h"

using namespace ui;

namespace {

struct Design {
  std::function<std::unique_ptr<InputDialog>()> make;
  const char* label;
  QStringList boxes;  // left to right
};

const std::vector<Design>& designs() {
  static const std::vector<Design> all = {
      {[] { return std::make_unique<TDorviIn1Form>(); }, "Inserisci il valore:", {"Edit1"}},
      {[] { return std::make_unique<TDorviIn2Form>(); },
       "Inserisci data e numero:",
       {"Edit1", "Edit2"}},
      {[] { return std::make_unique<TDorviDataForm>(); }, "Inserisci la data:", {"EditData1"}},
  };
  return all;
}

// Runs the dialog through the installed prompter (the real one: exec()) and
// does `act` once its event loop runs. A dialog still open after five seconds
// is closed with 99, so that a dialog that ignores `act` fails the test
// instead of hanging it.
int execWhile(QDialog& dialog, std::function<void()> act) {
  QTimer::singleShot(0, &dialog, std::move(act));
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, &dialog, [&dialog] { dialog.done(99); });
  guard.start(5000);
  return ui::runDialog(dialog);
}

}  // namespace

TEST(InputDialogsTest, DesignedLayoutFocusAndPlace) {
  for (const Design& design : designs()) {
    const auto dialog = design.make();
    SCOPED_TRACE(dialog->objectName().toStdString());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Dialog"));
    EXPECT_EQ(dialog->Label1(), control<QLabel>(*dialog, QStringLiteral("Label1")));
    EXPECT_EQ(dialog->Label1()->text(), QString::fromUtf8(design.label));
    EXPECT_EQ(dialog->BitBtn1(), control<QPushButton>(*dialog, QStringLiteral("BitBtn1")));
    EXPECT_EQ(dialog->BitBtn2(), control<QPushButton>(*dialog, QStringLiteral("BitBtn2")));
    EXPECT_TRUE(dialog->BitBtn1()->isDefault());

    std::vector<QLineEdit*> boxes;
    for (const QString& name : design.boxes) boxes.push_back(control<QLineEdit>(*dialog, name));
    ASSERT_FALSE(std::count(boxes.begin(), boxes.end(), nullptr));
    if (dialog->objectName() == QStringLiteral("DorviDataForm")) {
      EXPECT_TRUE(qobject_cast<TEditData*>(boxes.front()));
    }

    dialog->show();
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());  // fixed border
    for (std::size_t i = 1; i < boxes.size(); ++i)
      EXPECT_LT(boxes[i - 1]->geometry().right(), boxes[i]->geometry().left());
    EXPECT_EQ(dialog->focusWidget(), boxes.front());
    const QPoint centre = dialog->screen()->availableGeometry().center();
    EXPECT_LE((dialog->frameGeometry().center() - centre).manhattanLength(), 2);

    // Focus goes back to the first box at every showing, whatever had it.
    boxes.back()->setFocus();
    dialog->BitBtn2()->setFocus();
    dialog->hide();
    dialog->show();
    EXPECT_EQ(dialog->focusWidget(), boxes.front());

    // A longer prompt set by a caller widens the dialog.
    const int width = dialog->width();
    dialog->Label1()->setText(QString(120, QLatin1Char('W')));
    QApplication::sendPostedEvents();
    EXPECT_GT(dialog->width(), width);
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
  }

  // Centred on the screen even when its parent window is in a corner.
  QWidget corner;
  corner.setGeometry(0, 0, 200, 100);
  corner.show();
  TDorviIn1Form dialog(&corner);
  dialog.show();
  const QPoint centre = dialog.screen()->availableGeometry().center();
  EXPECT_LE((dialog.frameGeometry().center() - centre).manhattanLength(), 2);
}

TEST(InputDialogsTest, ResultCodesOfARealModalRun) {
  TDorviIn2Form dialog;
  EXPECT_EQ(execWhile(dialog, [&] { dialog.BitBtn1()->click(); }), ResultOk);
  EXPECT_EQ(execWhile(dialog, [&] { dialog.BitBtn2()->click(); }), ResultCancel);
  EXPECT_EQ(execWhile(dialog, [&] { dialog.close(); }), ResultUnset);
  EXPECT_EQ(execWhile(dialog, [&] { dialog.reject(); }), ResultUnset);
  EXPECT_EQ(execWhile(dialog, [&] { QTest::keyClick(dialog.Edit2(), Qt::Key_Escape); }),
            ResultCancel);
  EXPECT_EQ(dialog.result(), ResultCancel);

  // The first box has the focus; typing and Enter confirm.
  TDorviDataForm date;
  EXPECT_EQ(execWhile(date,
                      [&] {
                        EXPECT_EQ(date.focusWidget(), date.EditData1());
                        QTest::keyClicks(date.EditData1(), QStringLiteral("0504"));
                        QTest::keyClick(date.EditData1(), Qt::Key_Return);
                      }),
            ResultOk);
  EXPECT_EQ(date.EditData1()->text(), QStringLiteral("05/04/"));
}

TEST(InputDialogsTest, ScriptedRunAsCallersUseIt) {
  ScriptedPrompter answers;
  ScopedPrompter installed(answers);
  answers.script([](QDialog& dialog) {
    EXPECT_EQ(dialog.focusWidget(), control<QLineEdit>(dialog, QStringLiteral("Edit1")));
    typeInto(dialog, QStringLiteral("Edit1"), QString(70, QLatin1Char('x')));
    return clickButton(dialog, QStringLiteral("BitBtn1"));
  });
  answers.script([](QDialog& dialog) {
    typeInto(dialog, QStringLiteral("EditData1"), QStringLiteral("311275"));
    return clickButton(dialog, QStringLiteral("BitBtn2"));
  });

  TDorviIn1Form launch;
  launch.setWindowTitle(QStringLiteral("Nuovo lancio"));
  launch.Label1()->setText(QStringLiteral("Descrizione lancio"));
  launch.Edit1()->setMaxLength(64);
  EXPECT_EQ(ui::runDialog(launch), ResultOk);
  EXPECT_EQ(launch.Edit1()->text(), QString(64, QLatin1Char('x')));
  EXPECT_FALSE(launch.isVisible());

  TDorviDataForm date;
  EXPECT_EQ(ui::runDialog(date), ResultCancel);
  EXPECT_EQ(date.result(), ResultCancel);
  EXPECT_EQ(date.EditData1()->text(), QStringLiteral("31/12/1975"));

  EXPECT_EQ(answers.dialogs(), (QStringList{"Nuovo lancio", "Dialog"}));
}
