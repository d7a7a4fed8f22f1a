#include "entry/Exports.h"

#include <exception>

#include "entry/Launch.h"
#include "ui/Prompter.h"

namespace {

// Nothing may cross the boundary to the host: whatever goes wrong is shown
// and the result is 0 as always.
template <typename Launch>
std::int32_t guarded(Launch&& launch) {
  try {
    entry::ensureApplication();
    launch();
  } catch (const std::exception& error) {
    try {
      ui::error(QString::fromLocal8Bit(error.what()));
    } catch (...) {
    }
  } catch (...) {
  }
  return 0;
}

}  // namespace

std::int32_t ORBELAN_CALL ShowImpoStampaFormD(std::int32_t user) {
  return guarded([&] { entry::LanciaImpoStampa(user); });
}

std::int32_t ORBELAN_CALL ShowRistampaBarcode1FormX(std::int32_t user, std::int32_t windowId) {
  return guarded([&] { entry::LanciaRistampaBarcode1(user, windowId); });
}

std::int32_t ORBELAN_CALL ShowRistampaBarcodeFormX(std::int32_t user, std::int32_t windowId) {
  return guarded([&] { entry::LanciaRistampaBarcode(user, windowId); });
}

std::int32_t ORBELAN_CALL ShowExportLanciFormD(std::int32_t user) {
  return guarded([&] { entry::LanciaExportLanci(user); });
}

std::int32_t ORBELAN_CALL ShowGestEticFormD(std::int32_t user) {
  return guarded([&] { entry::LanciaGestEtic(user); });
}
