#pragma once

#include <QString>

namespace query::model {

// One row of the designer's query: a field of the base or of a joined table, a
// join header, a link key, the lock row or a side-by-side part header.
struct Row {
  int numero = 0;      // ordinal, unique and ascending in list order
  QString nome;        // field name, or the descriptor of a special row
  int mostra = 0;      // kind of the row (Mostra below)
  QString condizione;  // condition, formula or parameter

  friend bool operator==(const Row&, const Row&) = default;
};

// The kinds a row's Mostra holds.
namespace Mostra {
inline constexpr int Hidden = 0;     // field, not output
inline constexpr int Shown = 1;      // field, output
inline constexpr int Frozen = 6;     // field of a frozen first part, output
inline constexpr int LeftJoin = 9;   // left-join header, or a side-by-side part header
inline constexpr int RightJoin = 3;  // right-join header
inline constexpr int LinkKey = 8;    // link key of a joined table
inline constexpr int Lock = 7;       // lock row, or the end of a side-by-side part
}  // namespace Mostra

// Descriptor of the lock row and the word that marks side-by-side parts.
inline const QString kLockName = QStringLiteral("QUERY BLOCCATA");
inline const QString kUnion = QStringLiteral("UNION");
// Join option of a left join whose field conditions apply before the join.
inline const QString kConditionsBeforeJoin = QStringLiteral("P");

inline bool isField(int mostra) {
  return mostra == Mostra::Hidden || mostra == Mostra::Shown || mostra == Mostra::Frozen;
}
inline bool isOutput(int mostra) {
  return mostra == Mostra::Shown || mostra == Mostra::Frozen;
}
inline bool isJoinHeader(int mostra) {
  return mostra == Mostra::LeftJoin || mostra == Mostra::RightJoin;
}
// Rows the user may not type into: headers, link keys and the lock row.
inline bool isStructural(int mostra) {
  return !isField(mostra);
}

}  // namespace query::model
