#include "labels/GestEticForm.h"

#include "env/TabX.h"

TGestEticForm::TGestEticForm(QWidget* owner, std::unique_ptr<TTabXForm> ambiente)
    : EnvironmentWindow(owner, std::move(ambiente), QStringLiteral("Gestione etichette - Ditta:")) {
  setObjectName(QStringLiteral("GestEticForm"));
}
