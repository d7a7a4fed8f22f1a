#pragma once

#include <QString>

#include "platform/localstore/LocalTable.h"

namespace db {
class DataSet;
}

namespace query::designer {

struct ChartRequest;

// The chart table GRAFTMP.DB (Descrizione1: a point's label, Descrizione2:
// its series, Valore: its value) in the base directory's
// QUERY\RISPTMP\GRAFTMP, which the chart reports read. While another user
// holds GRAFTMP.DB the next free name is taken (GRAFT01.DB, ...), and that
// table is deleted again when the object goes or the next fill starts.
class ChartTable {
 public:
  explicit ChartTable(const QString& baseDirectory);
  ~ChartTable();
  ChartTable(const ChartTable&) = delete;
  ChartTable& operator=(const ChartTable&) = delete;

  static const QString kNome;  // "GRAFTMP.DB"

  // Fills the table with the points of the request from every row of the
  // answer: one pass for the value column, then one per additional series,
  // each row a point. The answer's rows are all fetched; its current row does
  // not move. The table is left closed. Returns false, with the message in
  // `error`, when the table cannot be made or the answer read, or when a
  // value is not a number (the message names its row and column): the table
  // is then left empty, never half filled.
  bool fill(db::DataSet& answer, const ChartRequest& request, QString& error);

  // Where the reports find the table: its directory, a backslash, its name.
  QString location() const { return table_.path(); }
  const QString& name() const { return table_.name(); }
  // True once a fill has taken the table.
  bool used() const { return used_; }

  // Deletes the table when it is one taken under another name.
  void dropAlternative();

 private:
  platform::localstore::LocalTable table_;
  bool used_ = false;
};

}  // namespace query::designer
