#pragma once

#include <cstdint>

// The five functions the host calls. On Windows they use the stdcall
// convention; the .def file beside this header gives their ordinals.
#if defined(_WIN32)
#define ORBELAN_CALL __stdcall
#define ORBELAN_EXPORT extern "C" __declspec(dllexport)
#else
#define ORBELAN_CALL
#define ORBELAN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

ORBELAN_EXPORT std::int32_t ORBELAN_CALL ShowImpoStampaFormD(std::int32_t user);
ORBELAN_EXPORT std::int32_t ORBELAN_CALL ShowRistampaBarcode1FormX(std::int32_t user,
                                                                   std::int32_t windowId);
ORBELAN_EXPORT std::int32_t ORBELAN_CALL ShowRistampaBarcodeFormX(std::int32_t user,
                                                                  std::int32_t windowId);
ORBELAN_EXPORT std::int32_t ORBELAN_CALL ShowExportLanciFormD(std::int32_t user);
ORBELAN_EXPORT std::int32_t ORBELAN_CALL ShowGestEticFormD(std::int32_t user);
