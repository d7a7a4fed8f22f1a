#pragma once

#include <QList>
#include <QString>

#include "query/model/JoinedTables.h"
#include "ui/ModalDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class TRadioGroup;

namespace db {
class Database;
class Transaction;
}  // namespace db

// Joins one more table to the query. At first a 120-pixel window asks only
// for the table; once the database has given the table's fields, the window
// grows to show the join part: key pairs, fields to bring over and the join
// mode. "&Riporta" appends the join's rows to the designer rows and closes
// with 1, "Ch&iudi" closes with 2 and changes nothing.
class TIBAggForm : public ui::ModalDialog {
  Q_OBJECT

 public:
  // A field of the joined table and whether it is brought over (TabQuTmp2).
  struct FieldChoice {
    QString nomeCampo;
    int mostra = 0;
  };

  TIBAggForm(QWidget* owner, const QString& ditta, const QString& tabella,
             query::model::RowList& rows, db::Database& database, db::Transaction& transaction);

  QLineEdit* EditNomeTabella() const { return editNomeTabella_; }
  QComboBox* EditNomeCampiTabPrincipale() const { return campiPrincipale_; }
  QComboBox* EditNomeCampiTabCollegata() const { return campiCollegata_; }
  TRadioGroup* RadioModalitaJoin() const { return radioModalitaJoin_; }
  QWidget* joinPart() const { return joinPart_; }
  const QList<query::model::KeyPair>& TabQuTmp1() const { return keys_; }
  const QList<FieldChoice>& TabQuTmp2() const { return fields_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void chooseTable();
  void tableNameChanged();
  void showJoinPart(bool shown);
  void addKeyPair();
  void toggleField(int row);
  void setAllFields(int mostra);
  void refreshKeys();
  void refreshFields();
  void riporta();

  query::model::RowList& rows_;
  db::Database& database_;
  db::Transaction& transaction_;
  QList<query::model::KeyPair> keys_;
  QList<FieldChoice> fields_;

  QLineEdit* editNomeTabella_;
  QWidget* joinPart_;
  QComboBox* campiPrincipale_;
  QComboBox* campiCollegata_;
  QTableWidget* gridCollegamenti_;
  QTableWidget* gridCampi_;
  TRadioGroup* radioModalitaJoin_;
};
