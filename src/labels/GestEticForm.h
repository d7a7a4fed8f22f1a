#pragma once

#include "labels/EnvironmentWindow.h"

class TGestEticForm : public EnvironmentWindow {
  Q_OBJECT

 public:
  TGestEticForm(QWidget* owner, std::unique_ptr<TTabXForm> ambiente);
};
