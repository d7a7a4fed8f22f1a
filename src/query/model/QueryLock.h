#pragma once

#include <QString>

#include "query/model/DesignerFlags.h"
#include "query/model/RowList.h"

// The query lock: a kind-7 row at the end of the first part, with an empty
// condition (simple lock) or the scrambled key (keyed lock).
namespace query::model {

enum class LockState { None, Simple, Keyed };

// The lock the rows hold, read from their first lock row.
struct CurrentLock {
  LockState state = LockState::None;
  QString storedKey;  // the scrambled key of a keyed lock
};
CurrentLock currentLock(const RowList& rows);

// The stored form of a six-character key: six numbers separated by single
// blanks, each mixing the bits of a character with those of the one before
// it (the first with the last). Keys are compared in this form; it is never
// turned back into the key.
QString CriptaChiave(const QString& chiave);

// Why a typed key can't be used, as the lock window says it; empty when it can.
QString keyRefusal(const QString& chiave);

// What "&Accetta chiave" makes of a typed key.
struct KeyAcceptance {
  bool accepted = false;
  QString message;  // the refusal, "Chiave Errata" or "Nuova chiave corretta"; empty
                    // when the current key of a keyed lock was given
};
KeyAcceptance acceptKey(const CurrentLock& lock, const QString& chiave);

// The lock window's boxes when OK is pressed.
struct LockRequest {
  bool locked = false;       // "Query bloccata"
  bool keyed = false;        // "Blocco con chiave"
  QString key;               // the key typed
  bool keyAccepted = false;  // the typed key passed "&Accetta chiave"
};

inline const QString kKeyNotValid = QStringLiteral("Impossibile proseguire: Chiave non valida");

// Takes the rows to the state the request asks for: appends, changes or
// deletes the lock row (inside an internal change) and sets the locked flag.
// Returns the refusal message, empty when done or when nothing had to change;
// a refusal leaves rows and flags as they were. Removing or weakening a keyed
// lock needs its key to have been accepted.
QString applyLock(RowList& rows, DesignerFlags& flags, const LockRequest& request);

}  // namespace query::model
