#include "entry/Launch.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <memory>

#include "env/TabX.h"
#include "labels/ExportLanciForm.h"
#include "labels/GestEticForm.h"
#include "labels/ImpoStampaForm.h"
#include "labels/RistampaBarcode1Form.h"
#include "labels/RistampaBarcodeForm.h"

namespace entry {

namespace {

using Ambiente = std::unique_ptr<TTabXForm>;

// Steps 1 and 2: the environment in database mode and its user.
Ambiente creaAmbiente(std::int32_t utente) {
  auto ambiente = std::make_unique<TTabXForm>(qApp, TTabXForm::ModoDatabase);
  // The window, not the application object, decides when it goes.
  ambiente->setParent(nullptr);
  ambiente->SetUserPerNum(utente);
  return ambiente;
}

QString utenteTesto(std::int32_t utente) {
  return QString::number(utente);
}

// Step 3: a value of the user's settings.
void caricaQzv(TTabXForm& ambiente, std::int32_t utente, const QString& nome,
               const QString& impostazione) {
  ambiente.Inserisci(QStringLiteral("QZV"), nome, {}, ambiente.CaricaParametro(impostazione), {},
                     {}, {}, {}, utenteTesto(utente));
}

// Step 3: a file path under the bin directory, by plain concatenation.
void caricaLbl(TTabXForm& ambiente, std::int32_t utente, const QString& nome,
               const QString& relativo) {
  ambiente.Inserisci(QStringLiteral("LBL"), nome, {},
                     ambiente.GetV(QStringLiteral("BinDir")) + relativo, {}, {}, {}, {},
                     utenteTesto(utente));
}

void caricaBinDir(TTabXForm& ambiente, std::int32_t utente) {
  caricaQzv(ambiente, utente, QStringLiteral("BinDir"), QStringLiteral("Directory bin"));
}

void caricaArchivio(TTabXForm& ambiente, std::int32_t utente) {
  caricaQzv(ambiente, utente, QStringLiteral("Archivio"), QStringLiteral("Archivio"));
}

// Step 4. A window without its main database could do nothing but fail, so
// the launch stops here after the message.
bool connettiArchivio(TTabXForm& ambiente) {
  ambiente.IBDatabase1.detach();
  return ambiente.ConnettiDatabase1(QStringLiteral("Archivio"));
}

// Steps 6 and 8 for the modeless windows.
template <typename Window>
QWidget* mostra(Ambiente ambiente) {
  auto* window = new Window(nullptr, std::move(ambiente));
  window->show();
  return window;
}

// Steps 6 to 8 for the reprint windows launched by the host.
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
  caricaBinDir(*ambiente, utente);
  caricaArchivio(*ambiente, utente);
  caricaLbl(*ambiente, utente, QStringLiteral("ETICHETTALBL"),
            QStringLiteral("Report\\ETICHETTA.LBL"));
  caricaLbl(*ambiente, utente, QStringLiteral("ETICHETTATXT"),
            QStringLiteral("Report\\ETICHETTA.TXT"));
  caricaLbl(*ambiente, utente, QStringLiteral("ETICHETTAEANLBL"),
            QStringLiteral("Report\\ETICHETTA_EAN.LBL"));
  caricaLbl(*ambiente, utente, QStringLiteral("ETICHETTAEANTXT"),
            QStringLiteral("Report\\ETICHETTA_EAN.TXT"));
  if (!connettiArchivio(*ambiente)) return nullptr;
  ambiente->Inserisci(QStringLiteral("TBX"), QStringLiteral("StampanteTermica"), {},
                      ambiente->ValoreTabX(QStringLiteral("StampanteTermica"), true), {}, {}, {},
                      {}, utenteTesto(utente));
  ambiente->Inserisci(QStringLiteral("TBX"), QStringLiteral("ModoStampa"), {},
                      ambiente->ValoreTabX(QStringLiteral("ModoStampa"), false), {}, {}, {}, {},
                      utenteTesto(utente));
  return mostra<TGestEticForm>(std::move(ambiente));
}

QWidget* LanciaExportLanci(std::int32_t utente) {
  Ambiente ambiente = creaAmbiente(utente);
  caricaArchivio(*ambiente, utente);
  if (!connettiArchivio(*ambiente)) return nullptr;
  return mostra<TExportLanciForm>(std::move(ambiente));
}

QWidget* LanciaRistampaBarcode(std::int32_t utente, std::int32_t idFinestra) {
  Ambiente ambiente = creaAmbiente(utente);
  caricaBinDir(*ambiente, utente);
  caricaLbl(*ambiente, utente, QStringLiteral("ETICHETTALBL"),
            QStringLiteral("Report\\ETICHETTA.LBL"));
  return mostraAutonoma<TRistampaBarcodeForm>(std::move(ambiente), idFinestra);
}

QWidget* LanciaRistampaBarcode1(std::int32_t utente, std::int32_t idFinestra) {
  Ambiente ambiente = creaAmbiente(utente);
  caricaArchivio(*ambiente, utente);
  caricaBinDir(*ambiente, utente);
  caricaLbl(*ambiente, utente, QStringLiteral("StRistampaBarcode1"),
            QStringLiteral("Report\\ETICHETTA.LBL"));
  if (!connettiArchivio(*ambiente)) return nullptr;
  // Placeholders: the window reads the real values itself.
  for (const char* nome : {"StampanteDefaultDoc", "StampanteEtichetteArt"})
    ambiente->Inserisci(QStringLiteral("TBX"), QString::fromLatin1(nome), {}, {}, {}, {}, {}, {},
                        utenteTesto(utente));
  return mostraAutonoma<TRistampaBarcode1Form>(std::move(ambiente), idFinestra);
}

QWidget* LanciaImpoStampa(std::int32_t utente) {
  Ambiente ambiente = creaAmbiente(utente);
  caricaArchivio(*ambiente, utente);
  if (!connettiArchivio(*ambiente)) return nullptr;
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
