#pragma once

#include <QList>

#include "query/model/JoinedTables.h"
#include "ui/ModalDialog.h"

class QPushButton;
class QTableWidget;

namespace db {
class Database;
class Transaction;
}  // namespace db

// Chooses which fields of each table of the query the designer rows hold.
// The user picks tables (the main one and the left-joined ones), "&Mostra
// campi" lists their fields coded from the rows, and "Aggiorna e chiudi"
// rebuilds the rows from that list (result 1). "Annulla e chiudi" and
// "Ch&iudi" close with 2 and leave the rows as they were.
class TIBCamVisForm : public ui::ModalDialog {
  Q_OBJECT

 public:
  TIBCamVisForm(QWidget* owner, const QString& ditta, const QString& tabella,
                query::model::RowList& rows, db::Database& database, db::Transaction& transaction);

  const QList<query::model::VisibleTable>& TabCVTmp1() const { return tables_; }
  const QList<query::model::FieldLine>& TabCVTmp2() const { return lines_; }
  QTableWidget* tablesGrid() const { return gridTabelle_; }
  QTableWidget* fieldsGrid() const { return gridCampi_; }
  QWidget* fieldsPart() const { return fieldsPart_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void toggleTable(int row);
  void mostraCampi();
  void toggleField(int row);
  void setAllFields(bool visible);
  void refreshTables();
  void refreshFields();
  void aggiorna();

  query::model::RowList& rows_;
  db::Database& database_;
  db::Transaction& transaction_;
  QList<query::model::VisibleTable> tables_;
  QList<query::model::FieldLine> lines_;
  bool tablesFrozen_ = false;

  QTableWidget* gridTabelle_;
  QTableWidget* gridCampi_;
  QWidget* fieldsPart_;
  QPushButton* mostraCampi_;
  QPushButton* chiudi_;
};
