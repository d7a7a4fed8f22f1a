#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

#include "app/EnvironmentWindow.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "platform/reports/LabelEngine.h"

class QCheckBox;
class QLabel;
class QPushButton;
class TQuovGrid;
class TRadioGroup;

// The label window: the labels still to print in a grid, import from a file,
// selection by F3 / double click / select all, and the print launch.
class TGestEticForm : public app::EnvironmentWindow {
  Q_OBJECT

 public:
  TGestEticForm(QWidget* owner, std::unique_ptr<TTabXForm> ambiente);
  ~TGestEticForm() override;

  // The IDs of the selected labels in the order they were selected.
  const QStringList& Selezionati() const { return selezionati_; }
  const QString& IdLancio() const { return idLancio_; }

  // The commands of the window's buttons and keys.
  void ButtonCaricaClick();
  void ButtonHelpClick();
  void ButtonSelClick();
  void ButtonDeselClick();
  void ButtonLancioClick();
  // F3 and double click: the current label in or out of the selection.
  void SelezionaRigaCorrente();
  // Closes and reopens the list of labels to print.
  void RiapriLista();

  bool isSelected(int row) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void QueryEticBeforeOpen(db::DataSet& dataSet);
  void QueryEticBeforeClose(db::DataSet& dataSet);
  QString idOfRow(int row) const;
  void aggiornaGriglia();

  // Declared in this order so that queries go before their transaction.
  db::Transaction transazione_;
  db::Query QueryEtic;
  db::Query QueryAux;
  db::Query QueryAux2;
  platform::reports::LabelEngine MotoreEtichette;

  QLabel* Label1;
  TQuovGrid* GridEtic;
  QPushButton* ButtonCarica;
  QPushButton* ButtonHelp;
  QPushButton* ButtonSel;
  QPushButton* ButtonDesel;
  QPushButton* ButtonLancio;
  QCheckBox* CheckEdita;
  QCheckBox* CheckEscludiSeriale;
  TRadioGroup* RadioTipoStampa;
  QPushButton* ButtonChiudi;

  QStringList selezionati_;
  QString idLancio_;
  bool ricercaInCorso_ = false;  // between the grid's search start and end
  bool chiusura_ = false;
};

// Paints the label grid's cells: the selected labels on the desktop colour,
// the others on the window colour, the text in black.
class EtichetteDelegate : public QStyledItemDelegate {
 public:
  explicit EtichetteDelegate(TGestEticForm& form) : QStyledItemDelegate(&form), form_(form) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  TGestEticForm& form_;
};
