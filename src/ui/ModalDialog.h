#pragma once

#include <QDialog>

class QKeyEvent;
class QPushButton;
class QShowEvent;

namespace ui {

// Result codes of the small dialogs. Closing the window other than through
// its buttons leaves the code unset, which callers treat as not confirmed.
enum InputResult : int { ResultUnset = 0, ResultOk = 1, ResultCancel = 2 };

// What every small modal dialog of the library shares: each time it is shown
// it stands in the middle of the screen (not over its parent window) and its
// first box takes the focus, whatever had it before; Esc presses its cancel
// button instead of QDialog's reject(), whose result is the unset code of
// closing the window.
class ModalDialog : public QDialog {
  Q_OBJECT

 protected:
  ModalDialog(QWidget* parent, Qt::WindowFlags flags);

  // The button Esc presses; without one Esc does what QDialog does.
  void setCancelButton(QPushButton* button) { cancelButton_ = button; }
  // The control that takes the focus whenever the dialog is shown.
  void setFirstFocus(QWidget* widget) { firstFocus_ = widget; }

  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPushButton* cancelButton_ = nullptr;
  QWidget* firstFocus_ = nullptr;
};

}  // namespace ui
