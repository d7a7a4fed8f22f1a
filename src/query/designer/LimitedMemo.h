#pragma once

#include <QPlainTextEdit>

class QKeyEvent;
class QMimeData;

namespace query::designer {

// A multi-line box that takes no more than maxLength() characters from the
// keyboard or a paste, like a length-limited edit control: what does not fit
// is not taken. Text set by the program is kept whole, so a longer text
// handed in is never cut.
class LimitedMemo : public QPlainTextEdit {
  Q_OBJECT

 public:
  LimitedMemo(int maxLength, QWidget* parent = nullptr);

  int maxLength() const { return maxLength_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  // How many more characters fit in place of the selection.
  int room() const;

  int maxLength_;
};

}  // namespace query::designer
