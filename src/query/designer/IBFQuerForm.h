#pragma once

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;

// The engine's window, shown only to hand over a generated statement:
// the statement in "MemoPerClipboard" (quotes doubled), and "Ok", which
// copies the whole text to the system clipboard and closes with OK.
class TIBFQuerForm : public QDialog {
  Q_OBJECT
 public:
  explicit TIBFQuerForm(const QStringList& lines, QWidget* parent = nullptr);

  QPlainTextEdit* MemoPerClipboard() const { return memo_; }
  QPushButton* ButtonOk() const { return ok_; }

  void ButtonOkClick();

 private:
  QPlainTextEdit* memo_;
  QPushButton* ok_;
};
