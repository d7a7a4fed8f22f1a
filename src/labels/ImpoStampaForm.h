#pragma once

#include "app/EnvironmentWindow.h"

class QComboBox;
class QFrame;
class QPushButton;
class TRadioGroup;

// The print settings: laser or thermal labels and which installed printer is
// the thermal one, stored in TABX (the mode for every user, the printer for
// the current user). A preview shows the bytes a thermal label would send.
class TImpoStampaForm : public app::EnvironmentWindow {
  Q_OBJECT

 public:
  TImpoStampaForm(QWidget* owner, std::unique_ptr<TTabXForm> ambiente);

  void RadioModoStampaClick();
  void ButtonStampanteClick();
  void ButtonOkClick();
  void ButtonCancelClick();
  // The chosen template filled with the first label still to print, shown
  // as the bytes the printer would receive.
  void ButtonAnteprimaClick();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void riempiStampanti();

  QFrame* PanelImpoStampa;
  TRadioGroup* RadioModoStampa;
  QPushButton* ButtonStampante;
  QComboBox* ComboStampante;
  QComboBox* ComboModello;
  QPushButton* ButtonAnteprima;
  QPushButton* ButtonOk;
  QPushButton* ButtonCancel;
};
