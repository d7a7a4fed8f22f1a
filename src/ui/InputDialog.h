#pragma once

#include "ui/ModalDialog.h"

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {

// What the small one-question dialogs share: the prompt "Label1" above a row
// of input boxes, the buttons "BitBtn1" (OK, result 1) and "BitBtn2" (Annulla,
// result 2) below, a fixed border sized to the contents, a place in the middle
// of the screen and the focus on the first box each time the dialog is shown.
// Enter presses OK, Esc presses Annulla.
//
// Callers set their own caption (setWindowTitle), prompt (Label1), font
// (setFont), clear the boxes and set their maximum length, show the dialog
// modally through ui::runDialog and read the boxes when the result is 1.
class InputDialog : public ModalDialog {
  Q_OBJECT

 public:
  QLabel* Label1() const { return label_; }
  QPushButton* BitBtn1() const { return ok_; }
  QPushButton* BitBtn2() const { return cancel_; }

 protected:
  InputDialog(const QString& objectName, const QString& prompt, QWidget* parent);

  // Adds a box to the row under the prompt. The first box added is the one
  // that takes the focus.
  void addBox(QLineEdit* box, int minimumWidth);

 private:
  QLabel* label_;
  QHBoxLayout* boxes_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace ui
