#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace platform::reports {

// The waiting box shown while labels are prepared and printed: the progress
// the define-variables callback reports, the number of labels done and a
// button to stop. It blocks the other windows without running a modal loop
// of its own; the printing loop lets it repaint and take the click.
class PrintWaitBox : public QDialog {
  Q_OBJECT

 public:
  PrintWaitBox(QWidget* parent, const QString& title);

  void setProgress(int percent);
  void setLabelsDone(int labels);
  void setStatusText(const QString& text);
  int progress() const;

  // Whether the user asked to stop.
  bool stopRequested() const { return stopRequested_; }

 protected:
  void reject() override;

 private:
  QProgressBar* bar_;
  QLabel* status_;
  bool stopRequested_ = false;
};

}  // namespace platform::reports
