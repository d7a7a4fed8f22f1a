#include "grid/SearchPosition.h"

#include "db/Query.h"
#include "db/Transaction.h"

namespace grid {

namespace {

std::optional<SearchPosition> readIn(db::Transaction& transaction, const QString& table,
                                     const GridKeys& keys) {
  db::Query query(transaction.database(), transaction);
  query.sql = SearchPosition::selectStatement(table, keys);
  query.open();
  if (query.isEof()) return std::nullopt;
  SearchPosition position;
  position.posX = query.value(QStringLiteral("POSX")).toInt();
  position.posY = query.value(QStringLiteral("POSY")).toInt();
  position.info3 = query.value(QStringLiteral("INFO3")).toInt();
  position.info1 = query.value(QStringLiteral("INFO1")).toInt();
  position.info4 = query.value(QStringLiteral("INFO4")).toInt() == 1;
  return position;
}

}  // namespace

QStringList SearchPosition::selectStatement(const QString& table, const GridKeys& keys) {
  QStringList lines{QStringLiteral("SELECT * FROM ") + quotedTable(table)};
  lines << keyLines(keys);
  return lines;
}

QStringList SearchPosition::updateStatement(const QString& table, const GridKeys& keys,
                                            const SearchPosition& p) {
  QStringList lines{QStringLiteral("UPDATE ") + quotedTable(table),
                    QStringLiteral("SET PosX=%1, PosY=%2, Info3=%3, Info1=%4, Info4=%5")
                        .arg(p.posX)
                        .arg(p.posY)
                        .arg(p.info3)
                        .arg(p.info1)
                        .arg(p.info4 ? 1 : 0)};
  lines << keyLines(keys);
  return lines;
}

QStringList SearchPosition::insertStatement(const QString& table, const GridKeys& keys,
                                            const SearchPosition& p) {
  return {
      QStringLiteral("INSERT INTO ") + quotedTable(table),
      QStringLiteral("(CodiceSituazione,CodiceUtente,CodiceProgetto,PosX,PosY,Info3,Info1,Info4)"),
      QStringLiteral("VALUES (%1,%2,%3,%4,%5,%6,%7,%8)")
          .arg(keys.situazione)
          .arg(keys.utente)
          .arg(keys.progetto)
          .arg(p.posX)
          .arg(p.posY)
          .arg(p.info3)
          .arg(p.info1)
          .arg(p.info4 ? 1 : 0)};
}

std::optional<SearchPosition> SearchPosition::read(db::Database& database, const QString& table,
                                                   const GridKeys& keys) {
  db::Transaction transaction(database);
  auto position = readIn(transaction, table, keys);
  transaction.commit();
  return position;
}

bool SearchPosition::store(db::Database& database, const QString& table, const GridKeys& keys,
                           const SearchPosition& position) {
  db::Transaction transaction(database);
  const auto stored = readIn(transaction, table, keys);
  if (stored && *stored == position) {
    transaction.commit();
    return false;
  }
  db::Query statement(database, transaction);
  statement.sql =
      stored ? updateStatement(table, keys, position) : insertStatement(table, keys, position);
  statement.execSql();
  transaction.commit();
  return true;
}

}  // namespace grid
