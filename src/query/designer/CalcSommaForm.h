#pragma once

#include "query/designer/DesignerDialog.h"

class QComboBox;
class QLineEdit;

namespace db {
class Database;
class Transaction;
}  // namespace db

// Asks which numeric column of the main table to sum over the current
// grouping ("ComboCampo", the table's small integer, integer, float, BCD and
// large integer columns sorted by name) and the title of the sum
// ("EditSomma", "Tot" to begin with). "Ok" closes only with both given.
//
// The columns are learnt from "SELECT * FROM <table>" on creation; when the
// database refuses it the error is shown and the list stays empty.
class TCalcSommaForm : public query::designer::DesignerDialog {
  Q_OBJECT

 public:
  TCalcSommaForm(const QString& table, db::Database& database, db::Transaction& transaction,
                 QWidget* parent = nullptr);

  QComboBox* ComboCampo() const { return comboCampo_; }
  QLineEdit* EditSomma() const { return editSomma_; }

 protected:
  void confirm() override;

 private:
  void listColumns(const QString& table, db::Database& database, db::Transaction& transaction);

  QComboBox* comboCampo_;
  QLineEdit* editSomma_;
};
