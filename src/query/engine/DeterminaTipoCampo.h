#pragma once

#include <QList>
#include <QString>
#include <functional>

#include "db/FieldType.h"
#include "query/model/Row.h"

namespace query::engine {

// The data type of a field of a database table, Unknown when there is none.
using FieldTypeLookup = std::function<db::FieldType(const QString& table, const QString& field)>;

// The table a joined field belongs to: the Nome of the row named `qualifiedName`
// leads to the nearest join header at or above it, whose Nome before " = " is
// the table. Empty when the row or its header is missing.
QString joinedTable(const QString& qualifiedName, const QList<model::Row>& rows);

// The data type of the field a row names: a plain name is a field of the main
// table, a qualified one (A.CODICE) a field of the joined table with that
// letter. Unknown when the field is not found.
db::FieldType DeterminaTipoCampo(const QString& name, const QList<model::Row>& rows,
                                 const QString& mainTable, const FieldTypeLookup& fieldType);

}  // namespace query::engine
