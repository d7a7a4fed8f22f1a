#pragma once

#include <QString>

#include "ui/ModalDialog.h"

class QComboBox;
class QPushButton;

namespace db {
class Query;
}

// Adds up a numeric column of the answer: "EditCampi" offers its small
// integer, integer, float, currency and BCD columns (the first one chosen),
// "&Calcola somma" shows the column's total over every row in a message box
// with thousands separators and two decimals (nothing for a total of 0).
// The total is computed by the database, so neither the answer's current row
// nor the rows it holds change. "OK" closes.
class TSommaForm : public ui::ModalDialog {
  Q_OBJECT

 public:
  TSommaForm(const QString& ditta, const QString& binDir, const QString& baseDir, db::Query& answer,
             QWidget* parent = nullptr);

  QComboBox* EditCampi() const { return editCampi_; }
  QPushButton* ButtonCalcola() const { return calcola_; }
  QPushButton* ButtonOk() const { return ok_; }
  const QString& ditta() const { return ditta_; }
  const QString& binDir() const { return binDir_; }
  const QString& baseDir() const { return baseDir_; }

  void ButtonCalcolaClick();

 private:
  db::Query& answer_;
  QString ditta_;
  QString binDir_;
  QString baseDir_;
  QComboBox* editCampi_;
  QPushButton* calcola_;
  QPushButton* ok_;
};
