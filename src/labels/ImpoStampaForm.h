#pragma once

#include "labels/EnvironmentWindow.h"

class TImpoStampaForm : public EnvironmentWindow {
  Q_OBJECT

 public:
  TImpoStampaForm(QWidget* owner, std::unique_ptr<TTabXForm> ambiente);
};
