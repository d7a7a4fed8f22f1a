#pragma once

#include <QWidget>
#include <cstdint>

// The window launches behind the exported functions. Each builds a fresh
// environment for the user, loads the settings its window needs, connects
// the main database where the window needs it, creates the window, hands it
// the environment and shows it. The returned window (nullptr when the launch
// stopped) is for the host program and the tests; the exports ignore it.
namespace entry {

// The application object the windows need: the host's when it has one,
// otherwise one the library creates and keeps for the life of the process.
void ensureApplication();

QWidget* LanciaGestEtic(std::int32_t utente);
QWidget* LanciaExportLanci(std::int32_t utente);
QWidget* LanciaRistampaBarcode(std::int32_t utente, std::int32_t idFinestra);
QWidget* LanciaRistampaBarcode1(std::int32_t utente, std::int32_t idFinestra);
// Modal: returns when the window has closed (the pointer is then dangling
// and only tells that the window was shown).
QWidget* LanciaImpoStampa(std::int32_t utente);

}  // namespace entry
