#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

#include "grid/GridTables.h"

class QPushButton;
class QTableView;

namespace db {
class Database;
class Transaction;
}  // namespace db

namespace grid {

// The stored layout rows of one grid as the personalisation window edits
// them: field (read-only), title, colour, visibility, position (hidden).
class LayoutRowsModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { NomeCampo, NomeColonna, ColoreColonna, Visibile, Posizione, ColumnCount };
  struct Row {
    QString nomeCampo;
    QVariant nomeColonna;
    QVariant coloreColonna;
    QVariant visibile;
    int posizione = 0;
    bool changed = false;
  };

  using QAbstractTableModel::QAbstractTableModel;

  void setRows(std::vector<Row> rows);
  const std::vector<Row>& rows() const { return rows_; }
  // Sets a value of a row as the user would, marking the row changed.
  void setValue(int row, Column column, const QVariant& value);
  void markWritten(int row);
  void forgetChanges();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<Row> rows_;
};

}  // namespace grid

// The personalisation window: for each column of a grid its title, colour
// and visibility as stored in the layout table, edited in place. A row is
// written when the user leaves it and made permanent by "Ch&iudi"; rows can
// be neither added nor removed. "Aspetto Base" runs the reset the grid
// attaches to it.
class TPQuovGridForm : public QDialog {
  Q_OBJECT

 public:
  TPQuovGridForm(QWidget* parent, const QString& tabellaAspetto, int codiceProgetto, int utente,
                 int situazione, db::Database& database);
  ~TPQuovGridForm() override;

  // (Re)loads the rows.
  void CaricaGriglia();
  // Drops the rows and every edit not yet committed: the window's work is
  // rolled back.
  void annullaModifiche();
  // Writes the current row when it was edited.
  void registraRiga();

  // The statements: the select of the rows and the update of one row.
  QStringList selectStatement() const;
  QStringList updateStatement(const grid::LayoutRowsModel::Row& row) const;

  // What "Aspetto Base" runs.
  std::function<void()> OnAspettoBase;

  QTableView* DBGrid1;
  grid::LayoutRowsModel* rowsModel() const { return model_; }
  QPushButton* ButtonCambiaColore;
  QPushButton* ButtonColoreDefault;
  QPushButton* ButtonAspettoBase;
  QPushButton* ButtonChiudi;

 private:
  void cambiaColore();
  void coloreDefault();
  void chiudi();
  void registra(int row);

  QString tabella_;
  grid::GridKeys keys_;
  db::Database& database_;
  std::unique_ptr<db::Transaction> transaction_;
  grid::LayoutRowsModel* model_;
};
