#include "query/engine/QueryEngine.h"

#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "query/engine/Clipboard.h"
#include "query/engine/ProceduralAnswer.h"
#include "query/engine/SideBySide.h"
#include "query/engine/Statement.h"
#include "query/model/RowList.h"

namespace query::engine {

QueryEngine::QueryEngine(db::Database& database, db::Transaction& transaction, model::RowList& rows,
                         QString mainTable)
    : database_(database),
      transaction_(transaction),
      rows_(rows),
      mainTable_(std::move(mainTable)),
      fieldTypes_(database, transaction),
      failure_(syntaxFailureMessage()),
      procedural_(std::make_unique<ProceduralAnswer>()) {}

QueryEngine::~QueryEngine() = default;

void QueryEngine::setWorkArea(const QString& baseDirectory, int user) {
  procedural_->setWorkArea(baseDirectory, user);
}

QStringList QueryEngine::answerOrder() const {
  return procedural_->orderLines();
}

FieldTypeLookup QueryEngine::fieldTypeLookup() {
  return
      [this](const QString& table, const QString& field) { return fieldTypes_.type(table, field); };
}

db::FieldType QueryEngine::DeterminaTipoCampo(const QString& name) {
  return engine::DeterminaTipoCampo(name, rows_.rows(), mainTable_, fieldTypeLookup());
}

QStringList QueryEngine::statementLines(bool sideBySide) {
  const QList<model::Row>& rows = rows_.rows();
  if (sideBySide) return buildSideBySide(rows, mainTable_, fieldTypeLookup()).lines;
  return buildStatement(rows, 1, static_cast<int>(rows.size()), mainTable_, fieldTypeLookup())
      .lines;
}

bool QueryEngine::run(db::Query& answer, const QStringList& lines) {
  answer.close();
  answer.sql = lines;
  if (clipboardMode_) {
    clipboardLines_ = engine::clipboardLines(lines);
    return true;
  }
  try {
    transaction_.ensureStarted();
    answer.open();
    return true;
  } catch (const db::DbError& error) {
    lastError_ = error.text();
    answer.close();
    answer.sql = lines;
    return false;
  }
}

bool QueryEngine::postSteps(db::Query& answer, bool marked, const QList<model::Row>& rows) {
  if (!marked || clipboardMode_) return true;
  if (!procedural_->run(answer, rows, notifier_)) {
    failure_ = procedural_->failure();
    lastError_ = procedural_->detail().isEmpty() ? failure_ : procedural_->detail();
    return false;
  }
  // The presenting statement ends with the local table's order.
  sortLines_ = procedural_->presenting();
  return true;
}

bool QueryEngine::EseguiInterrogazione(db::Query& answer, bool sideBySide) {
  lastError_.clear();
  failure_ = syntaxFailureMessage();
  sortLines_ = false;
  // The local tables of the previous run are given up.
  procedural_->release(answer);
  const QList<model::Row>& rows = rows_.rows();
  if (!clipboardMode_) {
    const QString refused = ProceduralAnswer::resultNameFailure(rows);
    if (!refused.isEmpty()) {
      failure_ = refused;
      lastError_ = refused;
      answer.close();
      answer.sql = statementLines(sideBySide);
      return false;
    }
  }
  if (!sideBySide) {
    const Statement statement =
        buildStatement(rows, 1, static_cast<int>(rows.size()), mainTable_, fieldTypeLookup());
    return run(answer, statement.lines) && postSteps(answer, statement.postSteps, rows);
  }

  // Each part is tried on its own first, so that a refusal stops at the
  // part that caused it; then the union of all of them runs.
  const QList<Segment> segments = sideBySideSegments(rows);
  const QList<model::Row> resolved = withPartHeadersResolved(rows, segments);
  QList<QStringList> parts;
  bool marked = false;
  const bool clipboard = clipboardMode_;
  clipboardMode_ = false;
  for (const Segment& segment : segments) {
    const Statement part =
        buildStatement(resolved, segment.first, segment.last, mainTable_, fieldTypeLookup());
    if (!clipboard && !run(answer, part.lines)) {
      clipboardMode_ = clipboard;
      return false;
    }
    parts << part.lines;
    marked = marked || part.postSteps;
  }
  clipboardMode_ = clipboard;
  // The procedural functions are computed once, over the union; the later
  // parts repeat the first part's columns, formulas included, so the first
  // part's rows name them.
  const QList<model::Row> firstPart =
      segments.isEmpty() ? rows
                         : resolved.mid(segments.first().first - 1,
                                        segments.first().last - segments.first().first + 1);
  return run(answer, joinWithUnion(parts)) && postSteps(answer, marked, firstPart);
}

}  // namespace query::engine
