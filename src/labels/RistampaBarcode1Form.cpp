#include "labels/RistampaBarcode1Form.h"

#include "env/TabX.h"

TRistampaBarcode1Form::TRistampaBarcode1Form(QWidget* owner, std::unique_ptr<TTabXForm> ambiente)
    : StandaloneCapableWindow(owner, std::move(ambiente),
                              QStringLiteral("Ristampa barcode - Ditta:")) {
  setObjectName(QStringLiteral("RistampaBarcode1Form"));
}
