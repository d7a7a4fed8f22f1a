#pragma once

#include <QString>

#include "platform/localstore/LocalTable.h"

namespace platform::localstore {

// The answers of StatoTabellaLocale, as the callers compare them.
inline const QString kNonEsiste = QStringLiteral("Non Esiste");
inline const QString kEsisteLibera = QStringLiteral("Esiste Libera");
inline const QString kEsisteOccupata = QStringLiteral("Esiste Occupata");

// Checks whether a work table can be taken: "Non Esiste" when its file is
// absent; "Esiste Libera" when it could be opened exclusively (it is then
// left open exclusively and empty); "Esiste Occupata" when another user
// holds it: the table object has then moved on to the first next name
// (ProssimoNomeLibero) that was free, or whose file does not exist (a free
// one is left open exclusively and empty, like the usual name).
QString StatoTabellaLocale(LocalTable& table);

// The name after `name`: RIGHET.DB gives RIGHE01.DB, RIGHE01.DB gives
// RIGHE02.DB, SUM99.DB gives SUM100.DB.
QString ProssimoNomeLibero(const QString& name);

// Takes a work table under the table object's name or, when that name is
// taken, under the next free one (ProssimoNomeLibero): a file nobody holds is
// replaced; a name is taken by creating its file exclusively, so that of
// several processes after one name exactly one gets it and the others move
// on. The table is left open exclusively and empty, with the columns and
// index fields set on the object. False with the reason in lastError().
bool takeFreeTable(LocalTable& table);

// When the table object has moved away from its usual name, closes it and
// deletes its file, so that a table taken under another name does not stay
// behind. Returns false only when such a file could not be deleted.
bool dropAlternativeTable(LocalTable& table, const QString& usualName);

// Creates a missing work directory (stored form) with every missing parent
// and makes it the current directory. Returns false when either failed.
bool createWorkDirectory(const QString& directory);

}  // namespace platform::localstore
