#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>

#include "support/QtPrinters.h"
#include "ui/EditData.h"

namespace {

// What the box shows after typing `keys` into an empty box.
struct Shown {
  QString text;
  QString selected;
  int selectionStart;
  int cursor;
};

Shown shownAfter(TEditData& box) {
  return {box.text(), box.selectedText(), box.selectionStart(), box.cursorPosition()};
}

Shown typed(const QString& keys) {
  TEditData box;
  QTest::keyClicks(&box, keys);
  return shownAfter(box);
}

// For keys QTest cannot click (it has no text for them).
void pressAndRelease(TEditData& box, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QCoreApplication::sendEvent(&box, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QCoreApplication::sendEvent(&box, &release);
}

}  // namespace

TEST(TEditDataTest, DayIsCompletedOrLeftSelected) {
  for (const auto& [keys, expected] : {std::pair{"05", "05/"}, {"31", "31/"}, {"1", "1"}}) {
    SCOPED_TRACE(keys);
    const Shown shown = typed(QString::fromLatin1(keys));
    EXPECT_EQ(shown.text, QString::fromLatin1(expected));
    EXPECT_EQ(shown.selected, QString());
    EXPECT_EQ(shown.cursor, shown.text.size());
  }
  for (const char* keys : {"51", "32", "00", "ab"}) {
    SCOPED_TRACE(keys);
    const Shown shown = typed(QString::fromLatin1(keys));
    EXPECT_EQ(shown.text, QString::fromLatin1(keys));
    EXPECT_EQ(shown.selected, QString::fromLatin1(keys));
  }

  // The selected wrong day is replaced by what is typed next.
  TEditData box;
  QTest::keyClicks(&box, QStringLiteral("5105"));
  EXPECT_EQ(box.text(), QStringLiteral("05/"));
}

TEST(TEditDataTest, MonthIsCompletedOrItsDigitsSelected) {
  EXPECT_EQ(typed(QStringLiteral("1203")).text, QStringLiteral("12/03/"));
  EXPECT_EQ(typed(QStringLiteral("0112")).text, QStringLiteral("01/12/"));

  TEditData box;
  QTest::keyClicks(&box, QStringLiteral("1213"));
  Shown shown = shownAfter(box);
  EXPECT_EQ(shown.text, QStringLiteral("12/13"));
  EXPECT_EQ(shown.selected, QStringLiteral("13"));
  EXPECT_EQ(shown.selectionStart, 3);

  QTest::keyClicks(&box, QStringLiteral("04"));
  EXPECT_EQ(box.text(), QStringLiteral("12/04/"));

  shown = typed(QStringLiteral("1200"));
  EXPECT_EQ(shown.selected, QStringLiteral("00"));
  EXPECT_EQ(shown.selectionStart, 3);
}

TEST(TEditDataTest, TwoYearDigitsBecomeFour) {
  const std::pair<const char*, const char*> cases[] = {
      {"120324", "12/03/2024"}, {"120375", "12/03/1975"},   {"120350", "12/03/1950"},
      {"120349", "12/03/2049"}, {"120300", "12/03/2000"},   {"120320", "12/03/20"},
      {"120319", "12/03/19"},   {"12032024", "12/03/2024"}, {"12031999", "12/03/1999"},
  };
  for (const auto& [keys, expected] : cases) {
    SCOPED_TRACE(keys);
    const Shown shown = typed(QString::fromLatin1(keys));
    EXPECT_EQ(shown.text, QString::fromLatin1(expected));
    EXPECT_EQ(shown.selected, QString());
    EXPECT_EQ(shown.cursor, shown.text.size());
  }

  // Two characters that are not both digits are a wrong year and stay selected.
  for (const char* year : {"x5", "-5", " 5"}) {
    SCOPED_TRACE(year);
    const Shown shown = typed(QStringLiteral("1203") + QString::fromLatin1(year));
    EXPECT_EQ(shown.text, QStringLiteral("12/03/") + QString::fromLatin1(year));
    EXPECT_EQ(shown.selected, QString::fromLatin1(year));
    EXPECT_EQ(shown.selectionStart, 6);
  }
}

TEST(TEditDataTest, CorrectionKeysLeaveTextAndCaretAlone) {
  TEditData box;
  QTest::keyClicks(&box, QStringLiteral("05"));
  QTest::keyClick(&box, Qt::Key_Backspace);
  EXPECT_EQ(box.text(), QStringLiteral("05"));  // not made "05/" again
  QTest::keyClick(&box, Qt::Key_Backspace);
  QTest::keyClick(&box, Qt::Key_Backspace);
  QTest::keyClicks(&box, QStringLiteral("120324"));
  EXPECT_EQ(box.text(), QStringLiteral("12/03/2024"));

  QTest::keyClick(&box, Qt::Key_Left);
  QTest::keyClick(&box, Qt::Key_Left);
  EXPECT_EQ(box.cursorPosition(), 8);
  QTest::keyClick(&box, Qt::Key_Right);
  EXPECT_EQ(box.cursorPosition(), 9);
  // Any other key puts the caret back at the end.
  QTest::keyClick(&box, Qt::Key_Home);
  EXPECT_EQ(box.cursorPosition(), 10);

  // Delete, Cancel and Ctrl+Break leave a two-character text as it is.
  box.setText(QStringLiteral("123"));
  box.setCursorPosition(2);
  QTest::keyClick(&box, Qt::Key_Delete);
  pressAndRelease(box, Qt::Key_Cancel);
  pressAndRelease(box, Qt::Key_Pause, Qt::ControlModifier);
  EXPECT_EQ(box.text(), QStringLiteral("12"));
  EXPECT_EQ(box.cursorPosition(), 2);
  QTest::keyClick(&box, Qt::Key_End);
  EXPECT_EQ(box.text(), QStringLiteral("12/"));
}

TEST(TEditDataTest, AutoRepeatReleasesAreIgnored) {
  TEditData box;
  box.setText(QStringLiteral("05"));
  QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"), true);
  QCoreApplication::sendEvent(&box, &repeated);
  EXPECT_EQ(box.text(), QStringLiteral("05"));
  QKeyEvent released(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"), false);
  QCoreApplication::sendEvent(&box, &released);
  EXPECT_EQ(box.text(), QStringLiteral("05/"));
}
