#include "query/engine/ProceduralAnswer.h"

#include <stdexcept>
#include <utility>
#include <vector>

#include "db/DbError.h"
#include "db/Query.h"
#include "query/engine/AnswerWorkTable.h"
#include "query/engine/LocalWorkTable.h"
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

QString fieldNotFound(const QString& field) {
  return QStringLiteral("Campo '%1' non trovato").arg(field);
}

QString notANumber(const QString& field, const QString& value) {
  return QStringLiteral("Il campo '%1' contiene un valore non numerico: %2").arg(field, value);
}

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

// The position of a field among the columns, letter case ignored; -1 when
// it is not there.
int columnIndex(const LocalColumns& columns, const QString& field) {
  for (qsizetype i = 0; i < columns.size(); ++i)
    if (columns[i].name.compare(field, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}

// Each row's result of one formula, by row, in the table's order.
using Results = std::vector<std::pair<qint64, QVariant>>;

// Writes the results into a column in one batch.
bool store(LocalTable& table, int column, const Results& results) {
  if (!table.beginBatch()) return false;
  for (const auto& [row, value] : results)
    if (!table.setValue(row, column, value)) return false;
  return table.commitBatch();
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
  if (!sums.isEmpty() && !EseguiSommaProg(answer, sums, notify)) return false;
  if (!integers.isEmpty() && !EseguiIntero(answer, integers)) return false;
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

bool ProceduralAnswer::copyAnswer(db::Query& answer, LocalWorkTable& local,
                                  const QList<ProceduralFormula>& formulas, const QString& ordering,
                                  const Notifier& notify) {
  const QStringList statement = answer.sql;
  answer.close();
  QString failure;
  QString detail;
  {
    // The rows are read once, forward, straight into the local table; the
    // reading statement goes before anything is dropped.
    db::Query source(answer.database(), answer.transaction());
    source.setForwardOnly(true);
    try {
      openSource(source, statement, ordering, notify);
      copyRows(source, local, formulas, &failure, &detail);
    } catch (const db::DbError& error) {
      failure = syntaxFailureMessage();
      detail = error.text();
    }
  }
  return failure.isEmpty() || fail(answer, failure, detail);
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

void ProceduralAnswer::copyRows(db::Query& source, LocalWorkTable& local,
                                const QList<ProceduralFormula>& formulas, QString* failure,
                                QString* detail) {
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
  if (!repeated.isEmpty()) {
    *failure = repeatedColumn(repeated);
    return;
  }
  LocalTable& table = local.table();
  QVariantList values(source.fieldCount());
  bool copied = local.create(columns, detail) && table.beginBatch();
  for (; copied && !source.isEof(); source.next()) {
    for (int i = 0; i < source.fieldCount(); ++i) values[i] = source.value(source.currentRow(), i);
    copied = table.append(values);
  }
  if (copied && table.commitBatch()) return;
  *failure = localTableFailure();
  if (detail->isEmpty()) *detail = table.lastError();
}

bool ProceduralAnswer::EseguiSommaProg(db::Query& answer, const QList<ProceduralFormula>& sums,
                                       const Notifier& notify) {
  if (!copyAnswer(answer, *sums_, sums, sommaProgOrdering(sums), notify)) return false;
  LocalTable& table = sums_->table();
  const int first = static_cast<int>(table.columns().size() - sums.size());
  for (qsizetype k = 0; k < sums.size(); ++k) {
    const int field = columnIndex(table.columns(), sums[k].campo);
    if (field < 0) return fail(answer, fieldNotFound(sums[k].campo));
    Results totals;
    double total = 0.0;
    bool numbers = true;
    QString wrong;
    const bool walked = table.walk([&](qint64 row, const QVariantList& values) {
      const std::optional<double> value = numericValue(values[field], &numbers);
      if (!numbers) {
        wrong = values[field].toString();
        return false;
      }
      if (value) total += *value;
      totals.emplace_back(row, total);
      return true;
    });
    if (!numbers) return fail(answer, notANumber(sums[k].campo, wrong));
    if (!walked || !store(table, first + static_cast<int>(k), totals))
      return fail(answer, localTableFailure(), table.lastError());
  }
  return present(answer, *sums_);
}

bool ProceduralAnswer::EseguiIntero(db::Query& answer, const QList<ProceduralFormula>& integers) {
  if (!copyAnswer(answer, *integers_, integers, QString(), {})) return false;
  LocalTable& table = integers_->table();
  const int first = static_cast<int>(table.columns().size() - integers.size());
  for (qsizetype k = 0; k < integers.size(); ++k) {
    const int field = columnIndex(table.columns(), integers[k].campo);
    if (field < 0) return fail(answer, fieldNotFound(integers[k].campo));
    Results parts;
    bool numbers = true;
    QString wrong;
    const bool walked = table.walk([&](qint64 row, const QVariantList& values) {
      const std::optional<double> value = numericValue(values[field], &numbers);
      if (!numbers) {
        wrong = values[field].toString();
        return false;
      }
      // The integer part of nothing is nothing.
      parts.emplace_back(row, value ? QVariant(integerPart(*value)) : QVariant());
      return true;
    });
    if (!numbers) return fail(answer, notANumber(integers[k].campo, wrong));
    if (!walked || !store(table, first + static_cast<int>(k), parts))
      return fail(answer, localTableFailure(), table.lastError());
  }
  return present(answer, *integers_);
}

bool ProceduralAnswer::present(db::Query& answer, LocalWorkTable& local) {
  auto copy = std::make_unique<AnswerWorkTable>(database_, transaction_, user_);
  try {
    copy->copy(local.table());
  } catch (const db::DbError& error) {
    return fail(answer, copyFailure(), error.text());
  } catch (const std::invalid_argument& error) {
    return fail(answer, copyFailure(), QString::fromStdString(error.what()));
  }
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
