#pragma once

#include <QStringList>
#include <memory>
#include <vector>

#include "db/RowSource.h"
#include "platform/localstore/LocalColumn.h"
#include "query/engine/LocalTableWriter.h"

namespace db {
class Query;
}

namespace query::engine {

// The rows of a local work table presented as the answer: a query given it
// as its row source runs its statements over the table (the presenting
// statement, the same with sort keys, a walk for a count or a sum), and its
// fields are the answer's own fields, so the result view, exports, prints
// and charts read the table's rows exactly as they read an answer.
class LocalAnswer : public db::RowSource {
 public:
  // `columns` are the table's columns and `fields` what the answer calls
  // them, one for one; `user` is whose copies in the database are made of it.
  LocalAnswer(QString nativeFile, platform::localstore::LocalColumns columns,
              std::vector<db::FieldInfo> fields, int user);

  // The local answer a query presents, or nullptr for a database answer.
  static LocalAnswer* of(const db::Query& query);

  // Every column in the table's order, the rows in the order they were
  // written; the last two lines hold the ORDER BY.
  QStringList statement() const;
  // The sort lines that keep the order the rows were written in.
  static QStringList orderLines();

  const platform::localstore::LocalColumns& columns() const { return columns_; }
  const std::vector<db::FieldInfo>& fields() const { return fields_; }
  int user() const { return user_; }

  // The rows just written, in the table's order: the first opening of
  // statement() hands them over instead of reading them back.
  void keepWrittenRows(LocalTableWriter::Blocks rows);

  std::unique_ptr<db::RowCursor> open(const QStringList& lines,
                                      std::vector<db::FieldInfo>& fields) override;

 private:
  QString nativeFile_;
  platform::localstore::LocalColumns columns_;
  std::vector<db::FieldInfo> fields_;
  int user_;
  LocalTableWriter::Blocks writtenRows_;
  bool rowsKept_ = false;
};

// The statement as the local store reads it: the database's words for the
// sort direction (DESCENDING, ASCENDING) in its own.
QString localStatementText(const QStringList& lines);

}  // namespace query::engine
