#pragma once

#include "query/designer/DesignerDialog.h"

class QListWidget;

namespace db {
class Database;
class Transaction;
}  // namespace db

// The database's tables for the add-table dialog: "Apri" or a double-click
// on a name closes with 1, "Annulla" with 2.
class TListTabForm : public query::designer::DesignerDialog {
  Q_OBJECT

 public:
  TListTabForm(db::Database& database, db::Transaction& transaction, QWidget* parent = nullptr);

  QListWidget* ListBox1() const { return listBox1_; }
  // The chosen name; empty when no table is selected.
  QString selectedTable() const;

 private:
  QListWidget* listBox1_;
};
