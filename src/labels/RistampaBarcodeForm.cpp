#include "labels/RistampaBarcodeForm.h"

#include "env/TabX.h"

TRistampaBarcodeForm::TRistampaBarcodeForm(QWidget* owner, std::unique_ptr<TTabXForm> ambiente)
    : StandaloneCapableWindow(owner, std::move(ambiente),
                              QStringLiteral("Ristampa barcode - Ditta:")) {
  setObjectName(QStringLiteral("RistampaBarcodeForm"));
}
