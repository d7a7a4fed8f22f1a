#pragma once

#include "labels/EnvironmentWindow.h"

class TRistampaBarcodeForm : public StandaloneCapableWindow {
  Q_OBJECT

 public:
  TRistampaBarcodeForm(QWidget* owner, std::unique_ptr<TTabXForm> ambiente);
};
