#pragma once

#include <QDialog>

class QPushButton;

// The warning shown before the stored layout is reset. Only "OK" confirms;
// "Cancel", Escape or closing the window any other way cancels.
class TAvQuovGrForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAvQuovGrForm(QWidget* parent = nullptr);

  QPushButton* BitBtn1;  // OK
  QPushButton* BitBtn2;  // Cancel

 protected:
  void showEvent(QShowEvent* event) override;
};
