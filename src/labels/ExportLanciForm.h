#pragma once

#include "labels/EnvironmentWindow.h"

class TExportLanciForm : public EnvironmentWindow {
  Q_OBJECT

 public:
  TExportLanciForm(QWidget* owner, std::unique_ptr<TTabXForm> ambiente);
};
