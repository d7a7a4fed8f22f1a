#include "labels/ExportLanciForm.h"

#include "env/TabX.h"

TExportLanciForm::TExportLanciForm(QWidget* owner, std::unique_ptr<TTabXForm> ambiente)
    : EnvironmentWindow(owner, std::move(ambiente), QStringLiteral("Export lanci - Ditta:")) {
  setObjectName(QStringLiteral("ExportLanciForm"));
}
