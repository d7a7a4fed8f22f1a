#include "grid/StoredLayout.h"

#include "core/SqlText.h"
#include "db/Database.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "grid/ColorCode.h"

namespace grid::layout {

namespace {

QString optionalNumber(const std::optional<int>& value) {
  return value ? QString::number(*value) : QStringLiteral("NULL");
}

}  // namespace

QStringList selectRows(const QString& table, const GridKeys& keys, bool ordered) {
  QStringList lines{QStringLiteral("SELECT * FROM ") + quotedTable(table)};
  lines << keyLines(keys);
  if (ordered) lines << QStringLiteral("ORDER BY Posizione");
  return lines;
}

QStringList deleteRows(const QString& table, const GridKeys& keys) {
  QStringList lines{QStringLiteral("DELETE FROM ") + quotedTable(table)};
  lines << keyLines(keys);
  return lines;
}

QStringList insertRow(const QString& table, const GridKeys& keys, const LayoutRow& row) {
  return {
      QStringLiteral("INSERT INTO ") + quotedTable(table),
      QStringLiteral("(CodiceSituazione,CodiceUtente,CodiceProgetto,NomeCampo,Origine,"
                     "Posizione,Larghezza,NomeColonna,ColoreColonna,Visibile,Ordinamento)"),
      QStringLiteral("VALUES (%1,%2,%3,").arg(keys.situazione).arg(keys.utente).arg(keys.progetto) +
          core::sqlString(row.nomeCampo) + ',' + core::sqlString(row.origine) + ',' +
          QString::number(row.posizione) + ',' + QString::number(row.larghezza) + ',' +
          core::sqlString(row.nomeColonna) + ',' + QString::number(storedColor(row.coloreColonna)) +
          ',' + QString::number(row.visibile) + ',' + optionalNumber(row.ordinamento) + ')'};
}

std::vector<LayoutRow> readRows(db::Transaction& transaction, const QStringList& statement) {
  db::Query query(transaction.database(), transaction);
  query.sql = statement;
  query.open();
  std::vector<LayoutRow> rows;
  for (; !query.isEof(); query.next()) {
    LayoutRow row;
    row.nomeCampo = query.text(QStringLiteral("NOMECAMPO"));
    row.origine = query.text(QStringLiteral("ORIGINE"));
    row.posizione = query.value(QStringLiteral("POSIZIONE")).toInt();
    row.larghezza = query.value(QStringLiteral("LARGHEZZA")).toInt();
    row.nomeColonna = query.text(QStringLiteral("NOMECOLONNA"));
    row.coloreColonna = colorFromStored(query.value(QStringLiteral("COLORECOLONNA")).toLongLong());
    row.visibile = query.value(QStringLiteral("VISIBILE")).toInt();
    const QVariant ordinamento = query.value(QStringLiteral("ORDINAMENTO"));
    if (!ordinamento.isNull()) row.ordinamento = ordinamento.toInt();
    rows.push_back(row);
  }
  return rows;
}

std::vector<LayoutRow> rowsOf(const GridColumns& columns, const OrderingCodes& codes,
                              qint64 gridColor) {
  std::vector<LayoutRow> rows;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const GridColumn& column = columns[i];
    LayoutRow row;
    row.nomeCampo = column.fieldName.toUpper();
    row.origine = column.origin.toUpper();
    row.posizione = static_cast<int>(i);
    row.larghezza = column.width;
    row.nomeColonna = column.caption;
    row.coloreColonna = column.color != 0 ? column.color : gridColor;
    row.visibile = column.visible ? 1 : 0;
    if (codes) row.ordinamento = codes(row.nomeCampo);
    rows.push_back(row);
  }
  return rows;
}

bool unchanged(const std::vector<LayoutRow>& stored, const std::vector<LayoutRow>& current) {
  if (stored.size() != current.size()) return false;
  for (std::size_t i = 0; i < stored.size(); ++i) {
    const LayoutRow& a = stored[i];
    const LayoutRow& b = current[i];
    if (a.nomeCampo != b.nomeCampo || a.posizione != static_cast<int>(i) ||
        a.larghezza != b.larghezza || a.ordinamento != b.ordinamento)
      return false;
  }
  return true;
}

void apply(const std::vector<LayoutRow>& rows, GridColumns& columns) {
  for (const LayoutRow& row : rows) moveField(columns, row.nomeCampo, row.posizione);
  for (const LayoutRow& row : rows) {
    if (row.posizione < 0 || row.posizione >= static_cast<int>(columns.size())) continue;
    GridColumn& column = columns[static_cast<std::size_t>(row.posizione)];
    if (row.larghezza > 0) column.width = row.larghezza;
    column.caption = row.nomeColonna;
    column.color = row.coloreColonna;
    column.visible = row.visibile != 0;
  }
}

bool save(db::Database& database, const QString& table, const GridKeys& keys,
          const std::vector<LayoutRow>& current) {
  db::Transaction transaction(database);
  const std::vector<LayoutRow> stored = readRows(transaction, selectRows(table, keys, true));
  if (unchanged(stored, current)) {
    transaction.commit();
    return false;
  }
  db::Query statement(database, transaction);
  statement.sql = deleteRows(table, keys);
  statement.execSql();
  for (const LayoutRow& row : current) {
    statement.sql = insertRow(table, keys, row);
    statement.execSql();
  }
  transaction.commit();
  return true;
}

std::vector<LayoutRow> load(db::Database& database, const QString& table, const GridKeys& keys) {
  db::Transaction transaction(database);
  std::vector<LayoutRow> rows = readRows(transaction, selectRows(table, keys, false));
  transaction.commit();
  return rows;
}

}  // namespace grid::layout
