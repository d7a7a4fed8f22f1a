#include "ui/EditData.h"

#include <QKeyEvent>

namespace ui {

namespace {

// Keys after which the text is neither reshaped nor the caret moved.
bool leavesTextAlone(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Cancel:
    case Qt::Key_Backspace:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Delete:
      return true;
    case Qt::Key_Pause:  // Ctrl+Break
      return event.modifiers().testFlag(Qt::ControlModifier);
    default:
      return false;
  }
}

bool isAsciiDigit(QChar c) {
  return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The number made of the digits in `part`, other characters skipped; 0 when
// there is no digit.
int digitsValue(QStringView part) {
  int value = 0;
  for (QChar c : part)
    if (isAsciiDigit(c)) value = value * 10 + (c.unicode() - '0');
  return value;
}

QString twoDigits(int value) {
  return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

enum class Fault { None, Day, Month, Year };

}  // namespace

TEditData::TEditData(QWidget* parent) : QLineEdit(parent) {}

void TEditData::keyReleaseEvent(QKeyEvent* event) {
  QLineEdit::keyReleaseEvent(event);
  if (event->isAutoRepeat() || leavesTextAlone(*event)) return;
  shapeDate();
}

void TEditData::shapeDate() {
  QString shaped = text();
  Fault fault = Fault::None;
  switch (shaped.size()) {
    case 2: {
      const int day = digitsValue(QStringView(shaped).left(2));
      if (day >= 1 && day <= 31)
        shaped = twoDigits(day) + QLatin1Char('/');
      else
        fault = Fault::Day;
      break;
    }
    case 5: {
      const int month = digitsValue(QStringView(shaped).mid(3, 2));
      if (month >= 1 && month <= 12)
        shaped = shaped.left(3) + twoDigits(month) + QLatin1Char('/');
      else
        fault = Fault::Month;
      break;
    }
    case 8: {
      // Both characters must be digits: a sign or a blank is not a year.
      if (!isAsciiDigit(shaped.at(6)) || !isAsciiDigit(shaped.at(7))) {
        fault = Fault::Year;
        break;
      }
      const int year = digitsValue(QStringView(shaped).mid(6, 2));
      if (year != 19 && year != 20)
        shaped = shaped.left(6) + QString::number(year >= 50 ? 1900 + year : 2000 + year);
      break;
    }
    default:
      break;
  }

  switch (fault) {
    case Fault::Day:
      selectAll();
      break;
    case Fault::Month:  // the month and the slash after it, as far as typed
      setSelection(3, static_cast<int>(shaped.size()) - 3);
      break;
    case Fault::Year:
      setSelection(6, static_cast<int>(shaped.size()) - 6);
      break;
    case Fault::None:
      if (shaped != text()) setText(shaped);
      setCursorPosition(static_cast<int>(shaped.size()));
      break;
  }
}

}  // namespace ui
