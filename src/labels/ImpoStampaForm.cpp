#include "labels/ImpoStampaForm.h"

#include "env/TabX.h"

TImpoStampaForm::TImpoStampaForm(QWidget* owner, std::unique_ptr<TTabXForm> ambiente)
    : EnvironmentWindow(owner, std::move(ambiente),
                        QStringLiteral("Impostazioni stampa - Ditta:")) {
  setObjectName(QStringLiteral("ImpoStampaForm"));
}
