#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include "db/FieldType.h"

// The condition and ordering lines a search adds to a query's statement.
namespace grid {

// How a searched field is treated.
enum class FieldClass { Text, Number, Date, Blob };
FieldClass fieldClassOf(db::FieldType type);

// Search modes (index in the dialog) and ordering choices.
enum SearchMode : int { ModoMaggiore = 0, ModoContiene = 1, ModoInizia = 2 };
enum SearchOrder : int { OrdineNo = 0, OrdineCresc = 1, OrdineDecres = 2 };

struct SearchRequest {
  QString keyword;     // "WHERE" or "AND"
  QString expression;  // the searched column's expression
  FieldClass fieldClass = FieldClass::Text;
  QString text;      // what was typed
  QDate firstDate;   // date fields
  QDate secondDate;  // date fields, optional
  int mode = ModoMaggiore;
  bool upper = true;
  int order = OrdineCresc;
};

// "WHERE", or "AND" when a line of the statement, upper-cased, holds "WHERE".
QString searchKeyword(const QStringList& statement);

// The condition line, empty when there is nothing to search for. The typed
// text reaches it only through the quoting function; in LIKE patterns a
// typed "%" or "_" matches itself (escaped, with an ESCAPE clause).
QString conditionLine(const SearchRequest& request);

// The ordering line of the "Cresc." and "Decres." choices; empty for "No".
QString searchOrderLine(const SearchRequest& request);

// The condition of the all-columns search: every field CONTAINING the text,
// joined by OR, as lines. The keyword is "AND(" when the statement's lines
// joined together hold "WHERE", else "WHERE(". Fields whose names are not
// plain identifiers cannot be named in a statement and are left out.
QStringList allColumnsCondition(const QStringList& statement, const QStringList& fieldNames,
                                const QString& text);

// The text of a LIKE pattern for a typed value, between the apostrophes,
// with "%" around it as asked; sets escaped when an ESCAPE clause must follow.
QString likePattern(const QString& value, bool leadingPercent, bool& escaped);

// Whether a record's field text passes the record filter of table and
// in-memory sources: mode 0 greater or equal in character order, mode 1
// containing the search text, mode 2 beginning with it.
bool filterAccepts(QString fieldText, QString searchText, bool upper, int mode);

}  // namespace grid
