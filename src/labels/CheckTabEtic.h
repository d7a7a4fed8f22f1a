#pragma once

namespace db {
class Query;
}

namespace labels {

// Brings an older ETICHETTE up to date: looks for each column later versions
// added (CAUSALE, ORDINE, CODCLIDESTIN, RAGSOCCLIDESTIN, FORNITORE,
// CODICE_EAN), and when some are missing warns the user, adds them with one
// ALTER TABLE and commits keeping the transaction open. Runs on the label
// window's auxiliary query, in the window's transaction, right after the
// transaction started. Returns false when the upgrade failed (the user was
// told; the transaction was rolled back and restarted); the window opens
// anyway.
bool CheckTabEtic(db::Query& queryAux);

}  // namespace labels
