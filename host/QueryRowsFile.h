#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "query/model/DesignerFlags.h"
#include "query/model/Row.h"

// The designer rows a query batch command reads from a file: UTF-8 text, one
// row a line, Numero, Nome, Mostra and Condizione separated by a TAB (a line
// of three fields has an empty condition). Blank lines are skipped, a line
// may end in CR LF.
namespace host {

struct QueryRowsFile {
  QList<query::model::Row> rows;
  // locked and sideBySide follow from the rows, as the designer's flags do.
  query::model::DesignerFlags flags;
  // The first line refused (counted from 1) and why; 0 and empty when the
  // whole text was read.
  int faultLine = 0;
  QString fault;

  bool ok() const { return fault.isEmpty(); }
};

// Reads the rows of a file's text. Refuses a line that is not UTF-8, has
// the wrong number of fields, a Numero that is not an integer of 16 bits or
// not above the previous one, an unknown kind, an empty or too long Nome, a
// Nome that is not what its kind names (a field, "TABLE = L", "L.FIELD",
// "QUERY BLOCCATA"), or a condition too long; and a text without rows.
QueryRowsFile parseQueryRows(const QByteArray& text);

// The designer's flags for a list of rows: locked when it holds a lock row,
// side-by-side when rows follow the first lock row (a later part).
query::model::DesignerFlags designerFlags(const QList<query::model::Row>& rows);

}  // namespace host
