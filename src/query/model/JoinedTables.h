#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "query/model/RowList.h"

// Joining a table to the query and choosing which fields of each table the
// row list holds: the rules behind the add-table and visible-fields dialogs.
namespace query::model {

// How a table is joined; the header row's kind and option follow from it.
enum class JoinMode { Left, Right, LeftConditionsFirst };

// The letter the next joined table takes: the one after the letter of the
// last row when that row is a letter-qualified field or key (B after A),
// else A. A rebuild that dropped the joined rows makes A free again.
QChar nextTableLetter(const RowList& rows);

// True when a left join without option already brings `table` into the
// query. Tables joined under the other modes are not looked at, so the same
// table may be joined again that way under a letter of its own.
bool joinedAsLeft(const RowList& rows, const QString& table);

// A key pair of the join: a field of the query's side equals a field of the
// joined table.
struct KeyPair {
  QString querySide;
  QString joined;
  friend bool operator==(const KeyPair&, const KeyPair&) = default;
};
// Adds the pair unless the list holds it already; false when it did.
bool addKeyPair(QList<KeyPair>& pairs, const KeyPair& pair);

// What the add-table dialog brings over.
struct TableJoin {
  QString table;
  JoinMode mode = JoinMode::Left;
  QList<KeyPair> keys;  // in the order added
  QStringList fields;   // the fields to bring over, in the table's field order
};

// The first check of the join that fails, as the message the user sees;
// empty when the join can be brought over.
QString joinRefusal(const TableJoin& join);

// Appends the join's header, key and field rows after the last row, the
// header named "TABLE = L" with the next free letter. Returns the letter.
QChar appendTableJoin(RowList& rows, const TableJoin& join);

// One line of the visible-fields tables list.
struct VisibleTable {
  QString nome;      // table name
  QString percorso;  // the join header's option
  QString lettera;   // empty for the main table
  bool selezione = false;
};
// The main table, then each left-joined table in the order of its header.
QList<VisibleTable> visibleTables(const RowList& rows, const QString& mainTable);
// Header line of a table in the fields list: its name, "NAME = L" when joined.
QString headerName(const VisibleTable& table);

// Selezione codes of the fields list.
namespace Selezione {
inline constexpr int Absent = 0;  // no row for the field (or take it out)
inline constexpr int Listed = 1;  // a hidden row without condition (or put one in)
inline constexpr int InUse = 2;   // a row that is shown or carries a condition
inline constexpr int Header = 9;  // a table's header line
}  // namespace Selezione

struct FieldLine {
  QString nomeCampo;
  int selezione = Selezione::Absent;
  friend bool operator==(const FieldLine&, const FieldLine&) = default;
};

// The fields list: for each selected table a header line, then its fields
// (database order, letter-prefixed when joined) coded from the rows.
QList<FieldLine> fieldLines(const QList<Row>& rows, const QList<VisibleTable>& tables,
                            const QList<QStringList>& fieldsOfSelected);

// F3 on a field line: 0 and 1 swap, 2 and 9 stay. False when unchanged.
bool toggleFieldLine(FieldLine& line);
// Every 0 becomes 1 (visible) or every 1 becomes 0.
void setAllFieldLines(QList<FieldLine>& lines, bool visible);

// The rows rebuilt from the tables and fields lists, numbered from 1: a
// selected table's rows come from its field lines, the rows of a table not
// selected are kept as they are, and each joined table keeps its header and
// keys. Names and conditions are kept whole.
QList<Row> rebuildVisibleFields(const QList<Row>& rows, const QList<VisibleTable>& tables,
                                const QList<FieldLine>& lines);

}  // namespace query::model
