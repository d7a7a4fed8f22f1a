#pragma once

#include <QString>
#include <QStringList>

// Pieces of the statements on the grid's own tables (layout, search-window
// position, settings). Table names reach statements only through
// quotedTable, which validates them; keys are integers.
namespace grid {

// The three keys of one grid of one user: which grid of which window
// (situation), the user, the host application area (project).
struct GridKeys {
  int situazione = 0;
  int utente = 0;
  int progetto = 0;
};

// The table name between double quotes. Throws std::invalid_argument for a
// name that is not a plain SQL identifier.
QString quotedTable(const QString& name);

// "WHERE (CodiceSituazione=s)", "AND (CodiceUtente=u)", "AND (CodiceProgetto=p)".
QStringList keyLines(const GridKeys& keys);

// True for a column name or a table-qualified one ("ETICHETTE.CODICE"), each
// part a plain SQL identifier: the only stored or reported names that may
// stand in a statement as they are.
bool isQualifiedName(const QString& name);

}  // namespace grid
