#include "query/engine/QueryEngine.h"

#include "db/DbError.h"
#include "db/Query.h"
#include "db/Transaction.h"
#include "query/engine/Clipboard.h"
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
      fieldTypes_(database, transaction) {}

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

bool QueryEngine::EseguiInterrogazione(db::Query& answer, bool sideBySide) {
  lastError_.clear();
  sortLines_ = false;
  const QList<model::Row>& rows = rows_.rows();
  if (!sideBySide)
    return run(answer,
               buildStatement(rows, 1, static_cast<int>(rows.size()), mainTable_, fieldTypeLookup())
                   .lines);

  // Each part is tried on its own first, so that a refusal stops at the
  // part that caused it; then the union of all of them runs.
  const QList<Segment> segments = sideBySideSegments(rows);
  const QList<model::Row> resolved = withPartHeadersResolved(rows, segments);
  QList<QStringList> parts;
  const bool clipboard = clipboardMode_;
  clipboardMode_ = false;
  for (const Segment& segment : segments) {
    const QStringList lines =
        buildStatement(resolved, segment.first, segment.last, mainTable_, fieldTypeLookup()).lines;
    if (!clipboard && !run(answer, lines)) {
      clipboardMode_ = clipboard;
      return false;
    }
    parts << lines;
  }
  clipboardMode_ = clipboard;
  return run(answer, joinWithUnion(parts));
}

}  // namespace query::engine
