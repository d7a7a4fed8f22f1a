#pragma once

#include "query/designer/DesignerDialog.h"
#include "query/model/DesignerFlags.h"
#include "query/model/QueryLock.h"
#include "query/model/RowList.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QWidget;

// The lock window: "CheckBloccata" and "CheckChiave" choose no lock, a simple
// lock or a keyed one; the key panel "PanelChiave" holds "EditChiave" and
// "ButtonAccettaChiave". A keyed lock shows its panel with both boxes
// disabled until its key is accepted. OK takes the rows and the locked flag
// to the state chosen (or says why it can't) and closes the window.
class TBloccaQForm : public query::designer::DesignerDialog {
  Q_OBJECT

 public:
  TBloccaQForm(query::model::RowList& rows, query::model::DesignerFlags& flags,
               const QString& ditta, QWidget* parent = nullptr);

  QCheckBox* CheckBloccata() const { return checkBloccata_; }
  QCheckBox* CheckChiave() const { return checkChiave_; }
  QWidget* PanelChiave() const { return panelChiave_; }
  QLineEdit* EditChiave() const { return editChiave_; }
  QPushButton* ButtonAccettaChiave() const { return buttonAccetta_; }

 protected:
  void confirm() override;

 private:
  void accettaChiave();

  query::model::RowList& rows_;
  query::model::DesignerFlags& flags_;
  query::model::CurrentLock lock_;
  bool keyAccepted_ = false;
  QCheckBox* checkBloccata_;
  QCheckBox* checkChiave_;
  QWidget* panelChiave_;
  QLineEdit* editChiave_;
  QPushButton* buttonAccetta_;
};
