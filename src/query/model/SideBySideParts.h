#pragma once

#include <QString>

#include "query/model/DesignerFlags.h"
#include "query/model/RowList.h"

// Side-by-side parts of a locked query: each a copy of the first part's rows
// after a header row (the base table, "UNION"), closed by a kind-7 row whose
// condition is "UNION". The engine runs each part as a SELECT.
namespace query::model {

inline const QString kNoFieldShown = QStringLiteral("Selezionare almeno un campo da visualizzare!");
inline const QString kNotLocked =
    QStringLiteral("Attenzione: operazione non possibile, la Query deve essere bloccata!");

// Appends a part: the first part's output fields are frozen (kind 6), then
// the header, a copy of the first part up to its lock row with the output
// selection it had before freezing, and the closing row. Sets the
// side-by-side flag. Returns the refusal message (no field shown, or no lock
// row), empty when the part was added; a refusal changes nothing.
QString addSideBySidePart(RowList& rows, DesignerFlags& flags, const QString& baseTable);

// Removes the last part, from the end back to the row that closes the part
// before it (or the lock row). When no part remains the side-by-side flag is
// cleared and the first part's fields are unfrozen. False when there is no part.
bool removeLastSideBySidePart(RowList& rows, DesignerFlags& flags);

// Number of side-by-side parts the rows hold.
int sideBySidePartCount(const RowList& rows);

}  // namespace query::model
