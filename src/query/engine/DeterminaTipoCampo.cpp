#include "query/engine/DeterminaTipoCampo.h"

namespace query::engine {

QString joinedTable(const QString& qualifiedName, const QList<model::Row>& rows) {
  qsizetype at = 0;
  while (at < rows.size() && rows[at].nome != qualifiedName) ++at;
  if (at == rows.size()) return QString();
  for (; at >= 0; --at) {
    if (!model::isJoinHeader(rows[at].mostra)) continue;
    const QString& header = rows[at].nome;
    const qsizetype equals = header.indexOf(QLatin1StringView(" = "));
    return equals < 0 ? QString() : header.left(equals);
  }
  return QString();
}

db::FieldType DeterminaTipoCampo(const QString& name, const QList<model::Row>& rows,
                                 const QString& mainTable, const FieldTypeLookup& fieldType) {
  const qsizetype stop = name.indexOf(u'.');
  if (stop < 0) return fieldType(mainTable, name);
  const QString table = joinedTable(name, rows);
  if (table.isEmpty()) return db::FieldType::Unknown;
  return fieldType(table, name.mid(stop + 1));
}

}  // namespace query::engine
