#pragma once

#include <QString>
#include <QStringList>

#include "query/engine/DeterminaTipoCampo.h"
#include "query/engine/TableFieldTypes.h"
#include "query/model/AnswerCodes.h"

namespace db {
class Database;
class Query;
class Transaction;
}  // namespace db
namespace query::model {
class RowList;
}

namespace query::engine {

// The message a failed run shows, whatever the database said.
inline QString syntaxFailureMessage() {
  return QStringLiteral("Si prega di verificare la sintassi delle condizioni o dei collegamenti");
}

// Runs the designer's rows as the answer query: the plain case (one SELECT
// over every row) and the side-by-side case (one SELECT per part, each tried
// on its own, then all of them joined by UNION). In clipboard mode the
// statement is only kept, with its quotes doubled, for the user to copy.
// Lives as long as the designer, on the designer's own connection; the
// answer's per-column codes stay with it.
class QueryEngine {
 public:
  QueryEngine(db::Database& database, db::Transaction& transaction, model::RowList& rows,
              QString mainTable);

  const QString& mainTable() const { return mainTable_; }
  model::RowList& rows() { return rows_; }

  void setClipboardMode(bool on) { clipboardMode_ = on; }
  bool clipboardMode() const { return clipboardMode_; }
  // On while the answer's statement ends with sort lines; cleared by every run.
  bool sortLines() const { return sortLines_; }
  void setSortLines(bool on) { sortLines_ = on; }
  model::AnswerCodes& codes() { return codes_; }

  // Builds the statement into `answer` and opens it (clipboard mode: fills
  // clipboardLines() and leaves the answer closed). False when the database
  // refused a part or the whole: the answer is then closed, holding the
  // failing statement, and lastError() gives the database's reason. The
  // caller shows syntaxFailureMessage().
  bool EseguiInterrogazione(db::Query& answer, bool sideBySide);

  // The statement the rows make, without running it.
  QStringList statementLines(bool sideBySide);

  const QStringList& clipboardLines() const { return clipboardLines_; }
  const QString& lastError() const { return lastError_; }

  // The data type of a row's field (plain or letter-qualified name).
  db::FieldType DeterminaTipoCampo(const QString& name);
  FieldTypeLookup fieldTypeLookup();
  TableFieldTypes& tableFields() { return fieldTypes_; }

 private:
  // Puts the lines into the answer and opens it (or fills the clipboard
  // text). False with lastError_ set when the database refuses them.
  bool run(db::Query& answer, const QStringList& lines);

  db::Database& database_;
  db::Transaction& transaction_;
  model::RowList& rows_;
  QString mainTable_;
  TableFieldTypes fieldTypes_;
  bool clipboardMode_ = false;
  bool sortLines_ = false;
  model::AnswerCodes codes_;
  QStringList clipboardLines_;
  QString lastError_;
};

}  // namespace query::engine
