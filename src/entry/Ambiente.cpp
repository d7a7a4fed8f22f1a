#include "entry/Ambiente.h"

#include <QCoreApplication>

#include "env/TabX.h"

namespace entry {

namespace {

QString utenteTesto(std::int32_t utente) {
  return QString::number(utente);
}

// A value of the user's settings.
void caricaQzv(TTabXForm& ambiente, std::int32_t utente, const QString& nome,
               const QString& impostazione) {
  ambiente.Inserisci(QStringLiteral("QZV"), nome, {}, ambiente.CaricaParametro(impostazione), {},
                     {}, {}, {}, utenteTesto(utente));
}

}  // namespace

Ambiente creaAmbiente(std::int32_t utente) {
  auto ambiente = std::make_unique<TTabXForm>(qApp, TTabXForm::ModoDatabase);
  ambiente->setParent(nullptr);
  ambiente->SetUserPerNum(utente);
  return ambiente;
}

void caricaBinDir(TTabXForm& ambiente, std::int32_t utente) {
  caricaQzv(ambiente, utente, QStringLiteral("BinDir"), QStringLiteral("Directory bin"));
}

void caricaArchivio(TTabXForm& ambiente, std::int32_t utente) {
  caricaQzv(ambiente, utente, QStringLiteral("Archivio"), QStringLiteral("Archivio"));
}

void caricaLbl(TTabXForm& ambiente, std::int32_t utente, const QString& nome,
               const QString& relativo) {
  ambiente.Inserisci(QStringLiteral("LBL"), nome, {},
                     ambiente.GetV(QStringLiteral("BinDir")) + relativo, {}, {}, {}, {},
                     utenteTesto(utente));
}

void caricaTbx(TTabXForm& ambiente, std::int32_t utente, const QString& nome, bool perUtente) {
  ambiente.Inserisci(QStringLiteral("TBX"), nome, {}, ambiente.ValoreTabX(nome, perUtente), {}, {},
                     {}, {}, utenteTesto(utente));
}

bool connettiArchivio(TTabXForm& ambiente) {
  ambiente.IBDatabase1.detach();
  return ambiente.ConnettiDatabase1(QStringLiteral("Archivio"));
}

bool preparaAmbienteGestEtic(TTabXForm& ambiente, std::int32_t utente) {
  caricaBinDir(ambiente, utente);
  caricaArchivio(ambiente, utente);
  caricaLbl(ambiente, utente, QStringLiteral("ETICHETTALBL"),
            QStringLiteral("Report\\ETICHETTA.LBL"));
  caricaLbl(ambiente, utente, QStringLiteral("ETICHETTATXT"),
            QStringLiteral("Report\\ETICHETTA.TXT"));
  caricaLbl(ambiente, utente, QStringLiteral("ETICHETTAEANLBL"),
            QStringLiteral("Report\\ETICHETTA_EAN.LBL"));
  caricaLbl(ambiente, utente, QStringLiteral("ETICHETTAEANTXT"),
            QStringLiteral("Report\\ETICHETTA_EAN.TXT"));
  if (!connettiArchivio(ambiente)) return false;
  caricaTbx(ambiente, utente, QStringLiteral("StampanteTermica"), true);
  caricaTbx(ambiente, utente, QStringLiteral("ModoStampa"), false);
  return true;
}

}  // namespace entry
