#pragma once

#include "ui/InputDialog.h"

class QLineEdit;

// Asks two values side by side: "Edit1" on the left, "Edit2" on the right.
class TDorviIn2Form : public ui::InputDialog {
  Q_OBJECT

 public:
  explicit TDorviIn2Form(QWidget* parent = nullptr);

  QLineEdit* Edit1() const { return edit1_; }
  QLineEdit* Edit2() const { return edit2_; }

 private:
  QLineEdit* edit1_;
  QLineEdit* edit2_;
};
