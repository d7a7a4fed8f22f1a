#pragma once

#include <QString>
#include <cstdint>
#include <memory>

class TTabXForm;

// The steps by which a launch builds the environment of a window, shared by
// the window launches and the batch commands of the host program, which run
// the same work without a window.
namespace entry {

using Ambiente = std::unique_ptr<TTabXForm>;

// The environment in database mode for the user. It belongs to no Qt parent:
// its window (or the batch command) decides when it goes.
Ambiente creaAmbiente(std::int32_t utente);

// Parameter-table entries of type QZV from the user's settings:
// "BinDir" from "Directory bin", "Archivio" from "Archivio". A value longer
// than the entry holds (128 characters) is refused rather than stored cut:
// false after the message ("Errore apertura archivio" for the archive).
bool caricaBinDir(TTabXForm& ambiente, std::int32_t utente);
bool caricaArchivio(TTabXForm& ambiente, std::int32_t utente);
// An LBL entry: a file path under the bin directory, by plain concatenation;
// refused in the same way when the whole path is too long.
bool caricaLbl(TTabXForm& ambiente, std::int32_t utente, const QString& nome,
               const QString& relativo);
// A TBX entry from TABX in the main database.
void caricaTbx(TTabXForm& ambiente, std::int32_t utente, const QString& nome, bool perUtente);

// Connects the main database named by "Archivio" (the user was told when it
// failed).
bool connettiArchivio(TTabXForm& ambiente);

// Everything the label window needs: bin directory, archive, the label
// projects and thermal templates, the connected archive, the thermal printer
// and the print mode. Returns false, after the message, when a path was
// refused or the archive could not be connected.
bool preparaAmbienteGestEtic(TTabXForm& ambiente, std::int32_t utente);

}  // namespace entry
