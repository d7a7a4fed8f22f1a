// The exports of libVopra. Nothing may cross the boundary to the caller:
// failures are shown here (or, when printing into a PDF file for batch use,
// written to the error stream) and the functions return normally.
#include <QTextStream>
#include <cstdint>
#include <exception>

#include "VopraPrint.h"
#include "core/Cp1252.h"
#include "core/SqlText.h"
#include "db/DbError.h"
#include "db/MemTable.h"
#include "db/Query.h"
#include "entry/Ambiente.h"
#include "entry/Launch.h"
#include "env/TabX.h"
#include "labels/VopraDocument.h"
#include "ui/Prompter.h"

#define VOPRA_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

void report(const QString& text) {
  if (!qEnvironmentVariableIsEmpty("ORBELAN_VOPRA_PDF")) {
    QTextStream(stderr) << "Vopra: " << text << '\n';
    return;
  }
  try {
    ui::error(text);
  } catch (...) {
  }
}

template <typename Work>
void guarded(Work&& work) {
  try {
    entry::ensureApplication();
    work();
  } catch (const db::DbError& error) {
    report(error.text());
  } catch (const std::exception& error) {
    report(QString::fromLocal8Bit(error.what()));
  } catch (...) {
    report(QStringLiteral("Errore imprevisto nella stampa"));
  }
}

void printDataSet(db::DataSet* dataset, TTabXForm** ambiente) {
  if (!dataset || !ambiente || !*ambiente) return;
  TTabXForm& env = **ambiente;
  const vopra::Rows rows = vopra::readRows(*dataset);
  QString error;
  if (!vopra::printRows(rows, env.GetV(QStringLiteral("NomeReport")),
                        env.GetV(QStringLiteral("TitoloStampa")), false, error))
    report(error);
}

}  // namespace

VOPRA_EXPORT void ShowVopra11FormD(db::Query* dataset, TTabXForm** ambiente) {
  guarded([&] { printDataSet(dataset, ambiente); });
}

VOPRA_EXPORT void ShowVopra11MemFormD(db::MemTable* dataset, TTabXForm** ambiente) {
  guarded([&] { printDataSet(dataset, ambiente); });
}

// Prints the rows of the table the document names, in page and row order,
// reading them through a connection of its own to the user's main database.
VOPRA_EXPORT void ShowVopra11UniFormD(std::int32_t utente, std::int32_t /*riservato*/,
                                      const char* testo) {
  guarded([&] {
    if (!testo) return;
    const labels::VopraDocument document = labels::parseVopraDocument(core::fromCp1252(testo));
    entry::Ambiente ambiente = entry::creaAmbiente(utente);
    entry::caricaArchivio(*ambiente, utente);
    if (!entry::connettiArchivio(*ambiente)) return;
    vopra::Rows rows;
    {
      db::Query query(ambiente->IBDatabase1, ambiente->IBTransaction1);
      query.sql << QStringLiteral("SELECT * FROM ") + core::sqlIdentifier(document.tabellaRighe)
                << QStringLiteral("ORDER BY NPAGINA,NRIGA");
      query.open();
      rows = vopra::readRows(query);
    }
    QString error;
    if (!vopra::printRows(rows, document.nomeReport, document.titoloStampa, document.stampaDiretta,
                          error))
      report(error);
  });
}
