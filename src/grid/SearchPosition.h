#pragma once

#include <QStringList>
#include <optional>

#include "grid/GridTables.h"

namespace db {
class Database;
}

namespace grid {

// Where the search window of one grid of one user last stood and the
// options it was left with (the position table, one row per grid).
struct SearchPosition {
  int posX = 0;
  int posY = 0;
  int info3 = 0;      // search mode
  int info1 = 1;      // ordering choice
  bool info4 = true;  // "Upper"

  bool operator==(const SearchPosition&) const = default;

  static QStringList selectStatement(const QString& table, const GridKeys& keys);
  static QStringList updateStatement(const QString& table, const GridKeys& keys,
                                     const SearchPosition& position);
  static QStringList insertStatement(const QString& table, const GridKeys& keys,
                                     const SearchPosition& position);

  // The stored row, nullopt when there is none. Throws DbError.
  static std::optional<SearchPosition> read(db::Database& database, const QString& table,
                                            const GridKeys& keys);
  // Writes the position when the stored row is missing or differs, in a
  // transaction of its own; true when written. Throws DbError.
  static bool store(db::Database& database, const QString& table, const GridKeys& keys,
                    const SearchPosition& position);
};

}  // namespace grid
