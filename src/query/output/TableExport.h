#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "db/FieldType.h"
#include "query/output/ExportOutcome.h"

namespace db {
class Database;
}

namespace query::output {

// The column definition of a new table's column for an answer field: its
// name, its type and size as in the answer. Throws std::invalid_argument for
// a name that is not a plain identifier or a type a table cannot hold.
QString columnDefinition(const db::FieldInfo& field);

// "queryib.sql": the statement of a failed table export, in the bin directory.
inline const QString kTableExportErrorFile = QStringLiteral("queryib.sql");

// Writes the answer into a new table of the database: the name is checked
// as an identifier before any statement; the table, one column per answer
// field, is created in a short transaction of its own and marked as this
// attachment's work table; then "INSERT INTO <name> " followed by the
// answer's statement runs, and the mark is taken away, in one transaction
// that is committed. A table of that name still marked by an attachment that
// is gone (an export interrupted before it was filled) is dropped first.
// When the insert fails it is rolled back, its statement is saved as
// queryib.sql in the bin directory (stored form), the table just created is
// dropped again and the outcome says so; success is never reported then.
ExportOutcome exportToTable(db::Database& database, const std::vector<db::FieldInfo>& fields,
                            const QStringList& answerSql, const QString& tableName,
                            const QString& binDirectory);

}  // namespace query::output
