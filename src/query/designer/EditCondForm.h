#pragma once

#include "query/designer/DesignerDialog.h"

namespace query::designer {
class LimitedMemo;
}

// Edits a condition in a multi-line box, "Memo1" (at most 1024 characters
// typed), filling the window above OK and Cancel.
class TEditCondForm : public query::designer::DesignerDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxLength = 1024;

  explicit TEditCondForm(QWidget* parent = nullptr);

  query::designer::LimitedMemo* Memo1() const { return memo1_; }

 private:
  query::designer::LimitedMemo* memo1_;
};
