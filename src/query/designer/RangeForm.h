#pragma once

#include "query/designer/DesignerDialog.h"

class QLineEdit;
class TEditData;

namespace query::designer {

// What the range is asked for: two dates or two values.
enum class RangeKind { Data, Valore };

}  // namespace query::designer

// Asks the two bounds of a range: two value boxes "Edit1", "Edit2" or, for
// dates, two date boxes "EditData1", "EditData2". OK checks the bounds: two
// values must not be out of order (compared as text), every filled date box
// must hold a date, which is then written in the short date form. A refused
// OK shows why and closes without a result.
class TRangeForm : public query::designer::DesignerDialog {
  Q_OBJECT

 public:
  explicit TRangeForm(query::designer::RangeKind kind, QWidget* parent = nullptr);

  QLineEdit* Edit1() const { return edit1_; }
  QLineEdit* Edit2() const { return edit2_; }
  TEditData* EditData1() const { return editData1_; }
  TEditData* EditData2() const { return editData2_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void confirm() override;

 private:
  QLineEdit* edit1_;
  QLineEdit* edit2_;
  TEditData* editData1_;
  TEditData* editData2_;
};
