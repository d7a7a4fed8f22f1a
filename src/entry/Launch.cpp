#include "entry/Launch.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <memory>

#include "entry/Ambiente.h"
#include "env/TabX.h"
#include "labels/ExportLanciForm.h"
#include "labels/GestEticForm.h"
#include "labels/ImpoStampaForm.h"
#include "labels/RistampaBarcode1Form.h"
#include "labels/RistampaBarcodeForm.h"

namespace entry {

namespace {

// Creates a modeless window on the environment, which it then owns, and
// shows it; the host's event loop drives it from here on.
template <typename Window>
QWidget* mostra(Ambiente ambiente) {
  auto* window = new Window(nullptr, std::move(ambiente));
  window->show();
  return window;
}

// The same for a reprint window the host launches: the window is marked
// standalone (closing it frees it and its environment) and its native handle
// goes into the host's window log row before it is shown.
template <typename Window>
QWidget* mostraAutonoma(Ambiente ambiente, std::int32_t idFinestra) {
  auto* window = new Window(nullptr, std::move(ambiente));
  window->setStandalone(true);
  window->ambiente().ScritturaHandleDiApertura(idFinestra, static_cast<qint64>(window->winId()));
  window->show();
  return window;
}

}  // namespace

void ensureApplication() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "Orbelan";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);  // lives as long as the process
}

QWidget* LanciaGestEtic(std::int32_t utente) {
  Ambiente ambiente = creaAmbiente(utente);
  if (!preparaAmbienteGestEtic(*ambiente, utente)) return nullptr;
  return mostra<TGestEticForm>(std::move(ambiente));
}

QWidget* LanciaExportLanci(std::int32_t utente) {
  Ambiente ambiente = creaAmbiente(utente);
  if (!caricaArchivio(*ambiente, utente) || !connettiArchivio(*ambiente)) return nullptr;
  return mostra<TExportLanciForm>(std::move(ambiente));
}

QWidget* LanciaRistampaBarcode(std::int32_t utente, std::int32_t idFinestra) {
  Ambiente ambiente = creaAmbiente(utente);
  if (!caricaBinDir(*ambiente, utente) ||
      !caricaLbl(*ambiente, utente, QStringLiteral("ETICHETTALBL"),
                 QStringLiteral("Report\\ETICHETTA.LBL")))
    return nullptr;
  return mostraAutonoma<TRistampaBarcodeForm>(std::move(ambiente), idFinestra);
}

QWidget* LanciaRistampaBarcode1(std::int32_t utente, std::int32_t idFinestra) {
  Ambiente ambiente = creaAmbiente(utente);
  if (!caricaArchivio(*ambiente, utente) || !caricaBinDir(*ambiente, utente) ||
      !caricaLbl(*ambiente, utente, QStringLiteral("StRistampaBarcode1"),
                 QStringLiteral("Report\\ETICHETTA.LBL")) ||
      !connettiArchivio(*ambiente))
    return nullptr;
  // Placeholders: the window reads the real values itself.
  for (const char* nome : {"StampanteDefaultDoc", "StampanteEtichetteArt"})
    ambiente->Inserisci(QStringLiteral("TBX"), QString::fromLatin1(nome), {}, {}, {}, {}, {}, {},
                        QString::number(utente));
  return mostraAutonoma<TRistampaBarcode1Form>(std::move(ambiente), idFinestra);
}

QWidget* LanciaImpoStampa(std::int32_t utente) {
  Ambiente ambiente = creaAmbiente(utente);
  // The thermal templates, for the preview of a thermal label.
  if (!caricaBinDir(*ambiente, utente) || !caricaArchivio(*ambiente, utente) ||
      !caricaLbl(*ambiente, utente, QStringLiteral("ETICHETTATXT"),
                 QStringLiteral("Report\\ETICHETTA.TXT")) ||
      !caricaLbl(*ambiente, utente, QStringLiteral("ETICHETTAEANTXT"),
                 QStringLiteral("Report\\ETICHETTA_EAN.TXT")) ||
      !connettiArchivio(*ambiente))
    return nullptr;
  auto* window = new TImpoStampaForm(nullptr, std::move(ambiente));
  window->setWindowModality(Qt::ApplicationModal);
  QPointer<QWidget> alive(window);
  QEventLoop loop;
  QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
  window->show();
  if (alive) loop.exec();
  return window;
}

}  // namespace entry
