#pragma once

#include <QDialog>

#include "platform/reports/PrintSettings.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace platform::reports {

// The print-options dialog: printer, copies and destination (printer,
// preview or PDF file). OK is refused, with a message, while the chosen
// destination is incomplete.
class PrintOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  PrintOptionsDialog(QWidget* parent, const QString& title, const PrintSettings& initial);

  PrintSettings settings() const;
  // A print whose copies are not asked for: the box is not shown.
  void hideCopies();

  void accept() override;

 private:
  void choosePdfFile();
  void updateEnabled();

  QComboBox* printers_;
  QLabel* copiesLabel_;
  QSpinBox* copies_;
  QRadioButton* toPrinter_;
  QRadioButton* toPreview_;
  QRadioButton* toPdf_;
  QLineEdit* pdfFile_;
};

}  // namespace platform::reports
