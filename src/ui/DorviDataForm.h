#pragma once

#include "ui/InputDialog.h"

namespace ui {

class TEditData;

// Asks a date in the date box "EditData1".
class TDorviDataForm : public InputDialog {
  Q_OBJECT

 public:
  explicit TDorviDataForm(QWidget* parent = nullptr);

  TEditData* EditData1() const { return editData1_; }

 private:
  TEditData* editData1_;
};

}  // namespace ui
