#pragma once

#include "labels/EnvironmentWindow.h"

class TRistampaBarcode1Form : public StandaloneCapableWindow {
  Q_OBJECT

 public:
  TRistampaBarcode1Form(QWidget* owner, std::unique_ptr<TTabXForm> ambiente);
};
