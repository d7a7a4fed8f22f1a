#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "query/engine/ProceduralFunctions.h"

namespace db {
class Query;
}  // namespace db

namespace query::engine {

class LocalAnswer;
class LocalWorkTable;

// The message a bad ordering text of SOMMAPROG gives; the sums then follow
// the answer's own order.
inline QString orderingFailureMessage() {
  return QStringLiteral("Errore impostazioni campi ordinamento! Verificare e correggere");
}

// The procedural functions computed over an open answer. SOMMAPROG first:
// the answer's rows (in the last formula's ordering) are copied into the
// local work table SUMPROG.DB under base\QUERY\RISPTMP\SUMPROG with one
// floating-point column per formula, filled with running totals; then
// INTEROQUOV the same way into INTERO.DB under base\QUERY\RISPTMP\INTERO,
// with integer parts. After each, the answer presents the local table's
// rows, columns and order straight from the table (LocalAnswer as its row
// source), and the table is held while the answer shows it. Nothing is
// written to the database.
class ProceduralAnswer {
 public:
  using Notifier = std::function<void(const QString& message)>;

  ProceduralAnswer();
  ~ProceduralAnswer();
  ProceduralAnswer(const ProceduralAnswer&) = delete;
  ProceduralAnswer& operator=(const ProceduralAnswer&) = delete;

  // Where the local tables go and whose the database copies are.
  void setWorkArea(const QString& baseDirectory, int user);
  const QString& baseDirectory() const { return baseDirectory_; }

  // A result name the database could not take as a column name (where an
  // export copies the answer into it), said before anything runs; an empty
  // text when every name is fine.
  static QString resultNameFailure(const QList<model::Row>& rows);

  // Computes the formulas of the rows over the open answer and makes the
  // answer present the result. `notify` shows a message without stopping
  // (the bad ordering text). False when a step failed: the answer is then
  // closed holding its own statement, failure() gives the message to show
  // and detail() the reason beneath it.
  bool run(db::Query& answer, const QList<model::Row>& rows, const Notifier& notify);
  const QString& failure() const { return failure_; }
  const QString& detail() const { return detail_; }

  // Whether the answer presents a local table now.
  bool presenting() const;
  // The sort lines that keep the local table's order (empty when the answer
  // does not present one).
  QStringList orderLines() const;

  // The answer stops presenting the local tables (a new run): its statement
  // is let go, the database copy dropped and the local tables released.
  void release(db::Query& answer);

 private:
  struct Failure {
    QString message;  // the message to show
    QString detail;   // the reason beneath it
  };

  // Computes one kind of formula: the answer's rows (its statement plus
  // `ordering` when given, and the answer's own order when that is refused)
  // are copied with one result column per formula into the local table, and
  // the answer then presents the table. False after fail().
  bool compute(db::Query& answer, LocalWorkTable& local, const QList<ProceduralFormula>& formulas,
               const QString& ordering, const Notifier& notify);
  // Opens the rows in the ordering; when it is refused (or is no list of
  // fields), tells and opens them in the answer's own order. Throws
  // db::DbError when the statement itself fails.
  static void openSource(db::Query& source, const QStringList& statement, const QString& ordering,
                         const Notifier& notify);
  Failure copyRows(db::Query& source, LocalWorkTable& local,
                   const QList<ProceduralFormula>& formulas,
                   std::shared_ptr<LocalAnswer>& presented) const;
  // The answer reopened on the local table, the table held.
  bool present(db::Query& answer, LocalWorkTable& local, std::shared_ptr<LocalAnswer> presented);
  bool fail(db::Query& answer, const QString& failure, const QString& detail = QString());

  QString baseDirectory_;
  int user_ = 0;
  std::unique_ptr<LocalWorkTable> sums_;
  std::unique_ptr<LocalWorkTable> integers_;
  bool presenting_ = false;
  QStringList answerStatement_;
  QString failure_;
  QString detail_;
};

}  // namespace query::engine
