#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

#include "grid/GridTables.h"
#include "grid/TableAliases.h"

namespace db {
class Transaction;
}

namespace grid {

// One ordering key: a column of the grid and a direction.
struct OrderKey {
  QString name;        // the field name, upper case; empty for "no key"
  QString expression;  // what the statement orders by
  int column = -1;     // column index
  int direction = 1;   // 1 ascending, 2 descending
};

// The computed columns of a grid: upper-case names and, at the same index,
// the SQL expression that stands for each when ordering or searching.
struct PersonalisedFields {
  QStringList names;
  QStringList expressions;

  // The expression of a listed name; nullopt for a name not listed.
  std::optional<QString> expressionOf(const QString& upperName) const;
};

// The ordering expression of a column: the computed-column expression of
// its name when listed, else its origin in upper case, else its name.
QString orderingExpression(const QString& fieldName, const QString& origin,
                           const PersonalisedFields& personalised);

// How a grid orders its rows: single-key or multi-key mode, the single key
// and the list of keys, what the stored layout rows say about them and the
// ORDER BY lines they give.
class GridOrdering {
 public:
  enum Mode { Unknown = 0, Single = 1, Multi = 2 };

  Mode mode = Unknown;
  OrderKey single;                          // name empty when there is no single key
  std::vector<OrderKey> ChiaviOrdinamento;  // the multi-key list

  // Back to the state of a freshly loaded grid.
  void clear();
  bool hasSingleKey() const { return !single.name.isEmpty(); }

  // The code stored in the layout row of a field: in single-key mode the
  // direction on the key's row, in multi-key mode 10*k (k the key's 1-based
  // place) or -10*k when descending; nullopt on every other row.
  std::optional<int> storedCode(const QString& upperName) const;

  // Statements that read the keys back from the stored layout rows.
  static QStringList modeStatement(const QString& table, const GridKeys& keys);
  static QStringList singleKeyStatement(const QString& table, const GridKeys& keys);
  static QStringList multiKeyStatement(const QString& table, const GridKeys& keys);

  // Rebuilds the keys from the stored rows (finding out the mode first when
  // it is not known yet), in the given transaction.
  void readStored(db::Transaction& transaction, const QString& table, const GridKeys& keys,
                  const PersonalisedFields& personalised);

  // The ORDER BY lines the keys give on a statement whose fields have the
  // given origins. A key counts only when its name is a computed column or
  // its expression is one of the origins; the first counted key opens the
  // clause even when an earlier key did not count. Origins of aliased
  // tables are written with the alias.
  QStringList orderLines(const QStringList& origins, const PersonalisedFields& personalised,
                         const TableAliases& aliases = {}) const;

  // The ordering a search with the "No" ordering choice keeps: keys whose
  // expression is one of the origins, each wrapped in UPPER() when asked.
  QStringList searchOrderLines(const QStringList& origins, bool upper, bool orderBy,
                               const TableAliases& aliases = {}) const;

  // Mode switch at a title double-click: Ctrl held in single-key mode makes
  // the single key the first of a list; Ctrl released in multi-key mode
  // makes the first key the single key.
  void switchMode(bool ctrl);
  // A title double-click in single-key mode: the same key again reverses an
  // ascending order, anything else orders ascending by the new key.
  void clickSingle(const QString& upperName, const QString& expression, int column);
  // A title double-click in multi-key mode: a listed key reverses, a new
  // one is appended ascending. Returns the key.
  const OrderKey& clickMulti(const QString& upperName, const QString& expression, int column);

  // The keys' title colours by column: (column, colour integer).
  std::vector<std::pair<int, qint64>> titleColors(qint64 firstKeyColor) const;
  // Colour integer of the title of the key at a 0-based place of the list.
  static qint64 keyColor(std::size_t place, qint64 firstKeyColor);

  // The primary key of a base table: its field names in key order.
  static QStringList primaryKeyStatement(const QString& baseTable);
  // "ORDER BY T.A,T.B", empty when there are no fields; T is the base
  // table's alias when the statement gives it one. Fields that are not
  // plain identifiers are left out.
  static QString primaryKeyLine(const QString& baseTable, const QStringList& fields,
                                const TableAliases& aliases = {});
};

}  // namespace grid
