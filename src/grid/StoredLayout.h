#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "grid/GridColumns.h"
#include "grid/GridTables.h"

namespace db {
class Database;
class Transaction;
}  // namespace db

// The stored column layout of one grid of one user: one row of the layout
// table per column (field, origin, position, width, title, colour,
// visibility, ordering code).
namespace grid {

struct LayoutRow {
  QString nomeCampo;               // field name, upper case
  QString origine;                 // field origin, upper case
  int posizione = 0;               // 0-based column position
  int larghezza = 0;               // width in pixels
  QString nomeColonna;             // title
  qint64 coloreColonna = 0;        // colour integer; 0 (or null) for the grid's own colour
  int visibile = 1;                // 1 visible, 0 hidden
  std::optional<int> ordinamento;  // ordering code, null when not an ordering key

  bool operator==(const LayoutRow&) const = default;
};

// The ordering code a column's row receives, by the column's upper-case
// field name; nullopt when the column is not an ordering key.
using OrderingCodes = std::function<std::optional<int>(const QString& fieldName)>;

namespace layout {

// "SELECT * FROM" the table, the key lines, and "ORDER BY Posizione" when ordered.
QStringList selectRows(const QString& table, const GridKeys& keys, bool ordered);
// "DELETE FROM" the table and the key lines.
QStringList deleteRows(const QString& table, const GridKeys& keys);
// The insert of one row.
QStringList insertRow(const QString& table, const GridKeys& keys, const LayoutRow& row);

// Runs a select on the layout table and returns its rows.
std::vector<LayoutRow> readRows(db::Transaction& transaction, const QStringList& statement);

// The rows that describe the columns as they are now. Columns with the
// grid's own colour store gridColor.
std::vector<LayoutRow> rowsOf(const GridColumns& columns, const OrderingCodes& codes,
                              qint64 gridColor);

// True when the stored rows (ordered by position) already describe the
// current ones: same count and, position by position, the same field,
// position, width and ordering code. Titles, colours and visibility are
// edited in the stored rows directly, so they are not compared.
bool unchanged(const std::vector<LayoutRow>& stored, const std::vector<LayoutRow>& current);

// Applies stored rows to the columns: first every field moves to its
// position, then each row sets width, title, colour and visibility of the
// column at its position. Rows that do not fit are skipped.
void apply(const std::vector<LayoutRow>& rows, GridColumns& columns);

// Saves the rows in a transaction of its own on the connection unless they
// are unchanged; true when they were written. Throws DbError (nothing is
// committed then).
bool save(db::Database& database, const QString& table, const GridKeys& keys,
          const std::vector<LayoutRow>& current);

// The stored rows, in the table's order.
std::vector<LayoutRow> load(db::Database& database, const QString& table, const GridKeys& keys);

}  // namespace layout
}  // namespace grid
