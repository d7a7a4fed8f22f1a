#include "grid/GridTables.h"

#include "core/SqlText.h"

namespace grid {

QString quotedTable(const QString& name) {
  return '"' + core::sqlIdentifier(name) + '"';
}

QStringList keyLines(const GridKeys& keys) {
  return {QStringLiteral("WHERE (CodiceSituazione=%1)").arg(keys.situazione),
          QStringLiteral("AND (CodiceUtente=%1)").arg(keys.utente),
          QStringLiteral("AND (CodiceProgetto=%1)").arg(keys.progetto)};
}

bool isQualifiedName(const QString& name) {
  const QStringList parts = name.split('.');
  if (parts.size() > 2) return false;
  for (const QString& part : parts)
    if (!core::isSqlIdentifier(part)) return false;
  return true;
}

}  // namespace grid
