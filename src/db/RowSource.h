#pragma once

#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

#include "db/FieldType.h"

namespace db {

// The rows of one opened statement of a RowSource, read forward.
class RowCursor {
 public:
  virtual ~RowCursor() = default;
  // Reads the next row into `row` (one value per field, in the types a
  // Query gives); false after the last. Throws DbError.
  virtual bool fetch(std::vector<QVariant>& row) = 0;
};

// Somewhere other than the database that runs a query's statements: a query
// given a row source opens its statement there (an answer presented from a
// local work table), and keeps every other behaviour of a query.
class RowSource {
 public:
  virtual ~RowSource() = default;
  // Runs the selecting statement and describes its fields. Throws DbError
  // when the statement is refused.
  virtual std::unique_ptr<RowCursor> open(const QStringList& lines,
                                          std::vector<FieldInfo>& fields) = 0;
};

}  // namespace db
