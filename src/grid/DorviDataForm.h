#pragma once

#include "grid/InputDialog.h"

namespace grid {

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

}  // namespace grid
