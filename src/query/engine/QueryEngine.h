#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "query/engine/DeterminaTipoCampo.h"
#include "query/engine/TableFieldTypes.h"
#include "query/model/AnswerCodes.h"
#include "query/model/Row.h"

namespace db {
class Database;
class Query;
class Transaction;
}  // namespace db
namespace query::model {
class RowList;
}

namespace query::engine {

class ProceduralAnswer;

// The message a run the database refused shows, whatever the database said.
inline QString syntaxFailureMessage() {
  return QStringLiteral("Si prega di verificare la sintassi delle condizioni o dei collegamenti");
}

// Runs the designer's rows as the answer query: the plain case (one SELECT
// over every row) and the side-by-side case (one SELECT per part, each tried
// on its own, then all of them joined by UNION). In clipboard mode the
// statement is only kept, with its quotes doubled, for the user to copy.
// Lives as long as the designer, on the designer's own connection; the
// answer's per-column codes stay with it. When computed columns call the
// procedural functions (SOMMAPROG, INTEROQUOV), the opened answer is copied
// into a local work table under the base directory, computed there, and the
// answer then presents that table (ProceduralAnswer) until the next run or
// the engine's end.
class QueryEngine {
 public:
  QueryEngine(db::Database& database, db::Transaction& transaction, model::RowList& rows,
              QString mainTable);
  // Drops the database copy a procedural answer presents: the answer must
  // not read it any more (destroy or rerun it first).
  ~QueryEngine();

  // The base directory of the local work tables and the user whose work
  // tables in the database they are.
  void setWorkArea(const QString& baseDirectory, int user);
  // Shows a message during a run that goes on (a bad SOMMAPROG ordering).
  using Notifier = std::function<void(const QString& message)>;
  void setNotifier(Notifier notifier) { notifier_ = std::move(notifier); }

  const QString& mainTable() const { return mainTable_; }
  model::RowList& rows() { return rows_; }

  void setClipboardMode(bool on) { clipboardMode_ = on; }
  bool clipboardMode() const { return clipboardMode_; }
  // On while the answer's statement ends with sort lines; cleared by every run.
  bool sortLines() const { return sortLines_; }
  void setSortLines(bool on) { sortLines_ = on; }
  model::AnswerCodes& codes() { return codes_; }

  // Builds the statement into `answer` and opens it (clipboard mode: fills
  // clipboardLines() and leaves the answer closed), then computes the
  // procedural functions. False when the database refused a part or the
  // whole, or a procedural function failed: the answer is then closed,
  // holding the failing (or generated) statement, failureMessage() gives
  // what the caller shows and lastError() the reason beneath it.
  bool EseguiInterrogazione(db::Query& answer, bool sideBySide);
  const QString& failureMessage() const { return failure_; }

  // The order an answer presenting a local table keeps without sort keys:
  // its sort lines; empty for an ordinary answer.
  QStringList answerOrder() const;

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
  // The procedural functions over the opened answer, when the statement
  // left some out.
  bool postSteps(db::Query& answer, bool marked, const QList<model::Row>& rows);

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
  QString failure_;
  Notifier notifier_;
  std::unique_ptr<ProceduralAnswer> procedural_;
};

}  // namespace query::engine
