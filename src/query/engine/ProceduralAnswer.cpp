#include "query/engine/ProceduralAnswer.h"

#include <QSet>
#include <utility>

#include "db/DbError.h"
#include "db/Query.h"
#include "query/engine/LocalAnswer.h"
#include "query/engine/LocalTableWriter.h"
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

// The longest column name the database takes, in bytes of its metadata.
constexpr int kLongestColumnName = 31;

// Answer columns of the same name (ID of two joined tables) get names of
// their own in the local table: the first keeps its name, the next ones
// get a number. The answer still shows each under its own title.
void giveDistinctNames(LocalColumns& columns) {
  QSet<QString> taken;
  for (const LocalColumn& column : columns) taken.insert(column.name.toUpper());
  QSet<QString> seen;
  for (LocalColumn& column : columns) {
    if (!seen.contains(column.name.toUpper())) {
      seen.insert(column.name.toUpper());
      continue;
    }
    QString name;
    for (int n = 2; taken.contains((name = column.name + u'_' + QString::number(n)).toUpper());
         ++n) {
    }
    taken.insert(name.toUpper());
    seen.insert(name.toUpper());
    column.name = name;
  }
}

}  // namespace

ProceduralAnswer::ProceduralAnswer() {
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
  return presenting_;
}

QStringList ProceduralAnswer::orderLines() const {
  return presenting_ ? LocalAnswer::orderLines() : QStringList();
}

void ProceduralAnswer::release(db::Query& answer) {
  if (LocalAnswer::of(answer)) {
    answer.freeStatement();
    answer.setRowSource(nullptr);
  }
  presenting_ = false;
  sums_->release();
  integers_->release();
}

QString ProceduralAnswer::resultNameFailure(const QList<model::Row>& rows) {
  for (const ProceduralKind kind : {ProceduralKind::SommaProg, ProceduralKind::InteroQuov}) {
    for (const ProceduralFormula& formula : proceduralFormulas(rows, kind)) {
      if (formula.risultato.toUtf8().size() > kLongestColumnName)
        return QStringLiteral(
                   "Il nome del risultato %1 è troppo lungo: l'archivio accetta nomi di colonna di "
                   "al massimo %2 caratteri")
            .arg(formula.risultato)
            .arg(kLongestColumnName);
    }
  }
  return QString();
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
  answer.setRowSource(nullptr);
  answer.sql = answerStatement_;
  presenting_ = false;
  return false;
}

bool ProceduralAnswer::compute(db::Query& answer, LocalWorkTable& local,
                               const QList<ProceduralFormula>& formulas, const QString& ordering,
                               const Notifier& notify) {
  const QStringList statement = answer.sql;
  answer.close();
  std::shared_ptr<LocalAnswer> presented;
  Failure failure;
  {
    // The rows are read once, forward, into the local table; after a first
    // function they are the rows of its table.
    db::Query source(answer.database(), answer.transaction());
    source.setRowSource(answer.rowSource());
    source.setForwardOnly(true);
    try {
      openSource(source, statement, ordering, notify);
      failure = copyRows(source, local, formulas, presented);
    } catch (const db::DbError& error) {
      failure = {syntaxFailureMessage(), error.text()};
    }
  }
  if (!failure.message.isEmpty()) return fail(answer, failure.message, failure.detail);
  return present(answer, local, std::move(presented));
}

void ProceduralAnswer::openSource(db::Query& source, const QStringList& statement,
                                  const QString& ordering, const Notifier& notify) {
  if (!ordering.isEmpty()) {
    bool ordered = isOrderingText(ordering);
    if (ordered) {
      source.sql = statement + QStringList{QStringLiteral("ORDER BY"), ordering};
      try {
        source.open();
      } catch (const db::DbError& error) {
        // A statement cancelled on request is no bad ordering.
        if (error.isCancelled()) throw;
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

ProceduralAnswer::Failure ProceduralAnswer::copyRows(
    db::Query& source, LocalWorkTable& local, const QList<ProceduralFormula>& formulas,
    std::shared_ptr<LocalAnswer>& presented) const {
  LocalColumns columns;
  std::vector<db::FieldInfo> fields;
  for (int i = 0; i < source.fieldCount(); ++i) {
    fields.push_back(source.field(i));
    columns << localColumn(fields.back());
  }
  giveDistinctNames(columns);
  QStringList names;
  for (const LocalColumn& column : columns) names << column.name;
  for (const ProceduralFormula& formula : formulas) {
    columns << LocalColumn{formula.risultato, ColumnType::Float};
    names << formula.risultato;
    db::FieldInfo result;
    result.name = formula.risultato;
    result.type = db::FieldType::Float;
    result.size = 8;
    fields.push_back(result);
  }
  const QString repeated = repeatedName(names);
  if (!repeated.isEmpty()) return {repeatedColumn(repeated), {}};
  ProceduralColumns results;
  Failure failure;
  if (!results.bind(columns, formulas, &failure.message)) return failure;

  LocalTable& table = local.table();
  if (!local.create(columns, &failure.detail) || !table.beginBatch())
    return {localTableFailure(), failure.detail.isEmpty() ? table.lastError() : failure.detail};
  // The table is written on another thread while the rows are read.
  LocalTableWriter writer(table);
  for (; !source.isEof(); source.next()) {
    std::vector<QVariant> row = source.takeCurrentRow();
    QVariantList values(columns.size());
    for (std::size_t i = 0; i < row.size(); ++i)
      values[static_cast<qsizetype>(i)] = std::move(row[i]);
    if (!results.compute(values, &failure.message)) return failure;
    writer.append(std::move(values));
  }
  if (!writer.finish(&failure.detail)) return {localTableFailure(), failure.detail};
  presented = std::make_shared<LocalAnswer>(table.nativeFilePath(), std::move(columns),
                                            std::move(fields), user_);
  presented->keepWrittenRows(writer.takeRows());
  return {};
}

bool ProceduralAnswer::present(db::Query& answer, LocalWorkTable& local,
                               std::shared_ptr<LocalAnswer> presented) {
  answer.freeStatement();
  answer.setRowSource(presented);
  answer.sql = presented->statement();
  QString error;
  if (!local.hold(&error)) return fail(answer, localTableFailure(), error);
  try {
    answer.open();
  } catch (const db::DbError& failure) {
    return fail(answer, localTableFailure(), failure.text());
  }
  presenting_ = true;
  return true;
}

}  // namespace query::engine
