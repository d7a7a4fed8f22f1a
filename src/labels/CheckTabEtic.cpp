#include "labels/CheckTabEtic.h"

#include "db/Query.h"
#include "db/Transaction.h"
#include "ui/Prompter.h"

namespace labels {

namespace {

struct AddedColumn {
  const char* name;
  const char* clause;
};

// In the order the clauses go into the statement.
constexpr AddedColumn kAddedColumns[] = {
    {"CAUSALE", "ADD CAUSALE VARCHAR(15)"},
    {"ORDINE", "ADD ORDINE VARCHAR(10)"},
    {"CODCLIDESTIN", "ADD CODCLIDESTIN VARCHAR(10)"},
    {"RAGSOCCLIDESTIN", "ADD RAGSOCCLIDESTIN VARCHAR(64)"},
    {"FORNITORE", "ADD FORNITORE VARCHAR(10)"},
    {"CODICE_EAN", "ADD CODICE_EAN VARCHAR(13)"},
};

bool hasColumn(db::Query& query, const char* column) {
  query.close();
  query.sql = QStringList{QStringLiteral("SELECT *"), QStringLiteral("FROM RDB$RELATION_FIELDS"),
                          QStringLiteral("WHERE (RDB$FIELD_NAME='%1')").arg(QLatin1String(column)),
                          QStringLiteral("AND(RDB$RELATION_NAME='ETICHETTE')")};
  query.open();
  const bool found = !query.isEmpty();
  query.close();
  return found;
}

void reportFailure() {
  ui::error(QStringLiteral("Errore interno durante l'aggiornamento della tabella"));
}

}  // namespace

bool CheckTabEtic(db::Query& queryAux) {
  QStringList clauses;
  try {
    for (const AddedColumn& column : kAddedColumns)
      if (!hasColumn(queryAux, column.name)) clauses << QLatin1String(column.clause);
  } catch (const db::DbError&) {
    // The catalogue could not be read: the table's state is unknown.
    reportFailure();
    return false;
  }
  if (clauses.isEmpty()) return true;

  ui::warning(QStringLiteral(
      "Attenzione: tabella da aggiornare. I campi mancanti verranno aggiunti automaticamente"));
  queryAux.sql = QStringList{QStringLiteral("ALTER TABLE ETICHETTE")};
  for (qsizetype i = 0; i < clauses.size(); ++i) {
    if (i > 0) queryAux.sql << QStringLiteral(",");
    queryAux.sql << clauses[i];
  }
  try {
    queryAux.execSql();
    queryAux.transaction().commitRetaining();
  } catch (const db::DbError&) {
    // Table changes may fail only when they are committed; left pending,
    // such a change would fail every later commit of the window.
    try {
      queryAux.transaction().rollbackAndRestart();
    } catch (const db::DbError&) {
    }
    reportFailure();
    return false;
  }
  return true;
}

}  // namespace labels
