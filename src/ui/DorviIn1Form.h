#pragma once

#include "ui/InputDialog.h"

class QLineEdit;

// Asks one value in the box "Edit1".
class TDorviIn1Form : public ui::InputDialog {
  Q_OBJECT

 public:
  explicit TDorviIn1Form(QWidget* parent = nullptr);

  QLineEdit* Edit1() const { return edit1_; }

 private:
  QLineEdit* edit1_;
};
