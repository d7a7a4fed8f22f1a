#pragma once

#include <QDialog>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

class TEditData;
class TRadioGroup;

// The search window of the grid: what to look for, how (search mode, upper
// case, ordering), and the all-columns switch. The grid drives it; the
// window itself only holds the controls and reports Escape.
class TRQuovGridForm : public QDialog {
  Q_OBJECT

 public:
  explicit TRQuovGridForm(QWidget* parent = nullptr);

  QLabel* Label1;
  QLineEdit* EditStringa;
  TRadioGroup* EditTipoRicerca;
  QCheckBox* EditUpper;
  QPushButton* ButtonAggRete;
  TRadioGroup* EditOrdinamento;
  QCheckBox* EditGenerica;
  QPushButton* ButtonEsegui;
  TEditData* EditData1;
  TEditData* EditData2;
  QLabel* Label2;

  // Only ">=" and "LIKE %%", in two columns (number fields).
  void limitaModiNumerici();
  // The date boxes in place of the text box (date fields).
  void mostraDate();

 signals:
  // Escape pressed anywhere in the window.
  void escapePressed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};
