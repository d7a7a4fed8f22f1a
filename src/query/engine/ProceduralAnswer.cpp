#include "query/engine/ProceduralAnswer.h"

#include <utility>

#include "db/DbError.h"
#include "db/Query.h"
#include "query/engine/AnswerWorkTable.h"
#include "query/engine/LocalWorkTable.h"
#include "query/engine/ProceduralColumns.h"
#include "query/engine/QueryEngine.h"

namespace query::engine {

using platform::localstore::ColumnType;
using platform::localstore::LocalColumn;
using platform::localstore::LocalColumns;
using platform::localstore::LocalTable;

namespace {

const QString kSumFolder = QStringLiteral("QUERY\\RISPTMP\\SUMPROG");
const QString kSumTable = QStringLiteral("SUMPROG.DB");
const QString kIntegerFolder = QStringLiteral("QUERY\\RISPTMP\\INTERO");
const QString kIntegerTable = QStringLiteral("INTERO.DB");

QString repeatedColumn(const QString& name) {
  return QStringLiteral(
             "La colonna %1 compare due volte nella tabella di lavoro: dare al risultato della "
             "funzione procedurale un nome diverso (AS nome)")
      .arg(name);
}

QString localTableFailure() {
  return QStringLiteral("Errore nella tabella di lavoro locale");
}

QString copyFailure() {
  return QStringLiteral("Errore nella copia della tabella di lavoro nel database");
}

}  // namespace

ProceduralAnswer::ProceduralAnswer(db::Database& database, db::Transaction& transaction)
    : database_(database), transaction_(transaction) {
  setWorkArea(QString(), 0);
}

ProceduralAnswer::~ProceduralAnswer() = default;

void ProceduralAnswer::setWorkArea(const QString& baseDirectory, int user) {
  baseDirectory_ = baseDirectory;
  user_ = user;
  sums_ = std::make_unique<LocalWorkTable>(workDirectory(baseDirectory, kSumFolder), kSumTable);
  integers_ =
      std::make_unique<LocalWorkTable>(workDirectory(baseDirectory, kIntegerFolder), kIntegerTable);
}

bool ProceduralAnswer::presenting() const {
  return copy_ != nullptr;
}

QStringList ProceduralAnswer::orderLines() const {
  return copy_ ? copy_->orderLines() : QStringList();
}

void ProceduralAnswer::release(db::Query& answer) {
  if (copy_) {
    answer.freeStatement();
    copy_.reset();
  }
  sums_->release();
  integers_->release();
}

bool ProceduralAnswer::run(db::Query& answer, const QList<model::Row>& rows,
                           const Notifier& notify) {
  failure_.clear();
  detail_.clear();
  answerStatement_ = answer.sql;
  const QList<ProceduralFormula> sums = proceduralFormulas(rows, ProceduralKind::SommaProg);
  const QList<ProceduralFormula> integers = proceduralFormulas(rows, ProceduralKind::InteroQuov);
  if (!sums.isEmpty() && !compute(answer, *sums_, sums, sommaProgOrdering(sums), notify))
    return false;
  if (!integers.isEmpty() && !compute(answer, *integers_, integers, QString(), {})) return false;
  return true;
}

bool ProceduralAnswer::fail(db::Query& answer, const QString& failure, const QString& detail) {
  failure_ = failure;
  detail_ = detail;
  answer.freeStatement();
  answer.sql = answerStatement_;
  copy_.reset();
  return false;
}

bool ProceduralAnswer::compute(db::Query& answer, LocalWorkTable& local,
                               const QList<ProceduralFormula>& formulas, const QString& ordering,
                               const Notifier& notify) {
  const QStringList statement = answer.sql;
  answer.close();
  auto copy = std::make_unique<AnswerWorkTable>(database_, transaction_, user_);
  Failure failure;
  {
    // The rows are read once, forward, into the local table and its copy in
    // the database at once; the reading statement goes before anything is
    // dropped.
    db::Query source(answer.database(), answer.transaction());
    source.setForwardOnly(true);
    try {
      openSource(source, statement, ordering, notify);
      failure = copyRows(source, local, *copy, formulas);
    } catch (const db::DbError& error) {
      failure = {syntaxFailureMessage(), error.text()};
    }
  }
  if (!failure.message.isEmpty()) return fail(answer, failure.message, failure.detail);
  return present(answer, local, std::move(copy));
}

void ProceduralAnswer::openSource(db::Query& source, const QStringList& statement,
                                  const QString& ordering, const Notifier& notify) {
  if (!ordering.isEmpty()) {
    bool ordered = isOrderingText(ordering);
    if (ordered) {
      source.sql = statement + QStringList{QStringLiteral("ORDER BY"), ordering};
      try {
        source.open();
      } catch (const db::DbError&) {
        ordered = false;
      }
    }
    if (!ordered && notify) notify(orderingFailureMessage());
  }
  if (!source.isActive()) {
    source.sql = statement;
    source.open();
  }
}

ProceduralAnswer::Failure ProceduralAnswer::copyRows(db::Query& source, LocalWorkTable& local,
                                                     AnswerWorkTable& copy,
                                                     const QList<ProceduralFormula>& formulas) {
  LocalColumns columns;
  QStringList names;
  for (int i = 0; i < source.fieldCount(); ++i) {
    columns << localColumn(source.field(i));
    names << columns.last().name;
  }
  for (const ProceduralFormula& formula : formulas) {
    columns << LocalColumn{formula.risultato, ColumnType::Float};
    names << formula.risultato;
  }
  const QString repeated = repeatedName(names);
  if (!repeated.isEmpty()) return {repeatedColumn(repeated), {}};
  ProceduralColumns results;
  Failure failure;
  if (!results.bind(columns, formulas, &failure.message)) return failure;

  LocalTable& table = local.table();
  if (!local.create(columns, &failure.detail) || !table.beginBatch())
    return {localTableFailure(), failure.detail.isEmpty() ? table.lastError() : failure.detail};
  try {
    copy.create(columns);
  } catch (const db::DbError& error) {
    return {copyFailure(), error.text()};
  }
  QVariantList values(columns.size());
  for (; !source.isEof(); source.next()) {
    for (int i = 0; i < source.fieldCount(); ++i) values[i] = source.value(source.currentRow(), i);
    if (!results.compute(values, &failure.message)) return failure;
    if (!table.append(values)) return {localTableFailure(), table.lastError()};
    try {
      copy.append(values);
    } catch (const db::DbError& error) {
      return {copyFailure(), error.text()};
    }
  }
  if (!table.commitBatch()) return {localTableFailure(), table.lastError()};
  try {
    copy.finish();
  } catch (const db::DbError& error) {
    return {copyFailure(), error.text()};
  }
  return {};
}

bool ProceduralAnswer::present(db::Query& answer, LocalWorkTable& local,
                               std::unique_ptr<AnswerWorkTable> copy) {
  answer.close();
  answer.sql = copy->statement();
  try {
    answer.open();
  } catch (const db::DbError& error) {
    answer.freeStatement();
    copy.reset();
    return fail(answer, copyFailure(), error.text());
  }
  // The answer reads the new copy now: the one before it can go.
  copy_ = std::move(copy);
  QString error;
  local.hold(&error);
  return true;
}

}  // namespace query::engine
