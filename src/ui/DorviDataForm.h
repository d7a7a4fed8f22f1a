#pragma once

#include "ui/InputDialog.h"

class TEditData;

// Asks a date in the date box "EditData1".
class TDorviDataForm : public ui::InputDialog {
  Q_OBJECT

 public:
  explicit TDorviDataForm(QWidget* parent = nullptr);

  TEditData* EditData1() const { return editData1_; }

 private:
  TEditData* editData1_;
};
