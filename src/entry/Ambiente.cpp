#include "entry/Ambiente.h"

#include <QCoreApplication>

#include "env/TabX.h"
#include "grid/QuovGrid.h"
#include "query/designer/ApriInterrogazione.h"
#include "ui/Prompter.h"

namespace entry {

namespace {

// The width of the parameter table's Testo field: a longer value would be
// stored cut, and a cut path names another file.
constexpr int kLunghezzaTesto = 128;

QString utenteTesto(std::int32_t utente) {
  return QString::number(utente);
}

bool percorsoTroppoLungo(const QString& percorso) {
  if (percorso.size() <= kLunghezzaTesto) return false;
  ui::error(QStringLiteral("Percorso troppo lungo (più di %1 caratteri): ").arg(kLunghezzaTesto) +
            percorso);
  return true;
}

}  // namespace

Ambiente creaAmbiente(std::int32_t utente) {
  // Every window the library opens starts here: from now on F8 in its grids
  // opens the query designer.
  TQuovGrid::setApriInterrogazione(query::designer::ApriInterrogazione);
  auto ambiente = std::make_unique<TTabXForm>(qApp, TTabXForm::ModoDatabase);
  ambiente->setParent(nullptr);
  ambiente->SetUserPerNum(utente);
  return ambiente;
}

bool caricaBinDir(TTabXForm& ambiente, std::int32_t utente) {
  const QString binDir = ambiente.CaricaParametro(QStringLiteral("Directory bin"));
  if (percorsoTroppoLungo(binDir)) return false;
  ambiente.Inserisci(QStringLiteral("QZV"), QStringLiteral("BinDir"), {}, binDir, {}, {}, {}, {},
                     utenteTesto(utente));
  return true;
}

bool caricaArchivio(TTabXForm& ambiente, std::int32_t utente) {
  const QString archivio = ambiente.CaricaParametro(QStringLiteral("Archivio"));
  if (archivio.size() > kLunghezzaTesto) {
    ui::error(QStringLiteral("Errore apertura archivio"));
    return false;
  }
  ambiente.Inserisci(QStringLiteral("QZV"), QStringLiteral("Archivio"), {}, archivio, {}, {}, {},
                     {}, utenteTesto(utente));
  return true;
}

bool caricaLbl(TTabXForm& ambiente, std::int32_t utente, const QString& nome,
               const QString& relativo) {
  const QString percorso = ambiente.GetV(QStringLiteral("BinDir")) + relativo;
  if (percorsoTroppoLungo(percorso)) return false;
  ambiente.Inserisci(QStringLiteral("LBL"), nome, {}, percorso, {}, {}, {}, {},
                     utenteTesto(utente));
  return true;
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
  if (!caricaBinDir(ambiente, utente) || !caricaArchivio(ambiente, utente)) return false;
  for (const auto& [nome, relativo] : {std::pair{"ETICHETTALBL", "Report\\ETICHETTA.LBL"},
                                       std::pair{"ETICHETTATXT", "Report\\ETICHETTA.TXT"},
                                       std::pair{"ETICHETTAEANLBL", "Report\\ETICHETTA_EAN.LBL"},
                                       std::pair{"ETICHETTAEANTXT", "Report\\ETICHETTA_EAN.TXT"}})
    if (!caricaLbl(ambiente, utente, QString::fromLatin1(nome), QString::fromLatin1(relativo)))
      return false;
  if (!connettiArchivio(ambiente)) return false;
  caricaTbx(ambiente, utente, QStringLiteral("StampanteTermica"), true);
  caricaTbx(ambiente, utente, QStringLiteral("ModoStampa"), false);
  return true;
}

}  // namespace entry
