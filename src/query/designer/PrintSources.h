#pragma once

#include <QList>

#include "grid/GridColumns.h"
#include "query/engine/PrintSource.h"
#include "query/model/AnswerCodes.h"
#include "query/model/RecordField.h"

namespace db {
class Query;
}

namespace query::designer {

// The answer as the result grid shows it: its columns in their order, with
// their widths (pixels, measured in characters of `characterWidth`),
// labels, visibility and codes.
engine::PrintSource answerPrintSource(db::Query& answer, const grid::GridColumns& columns,
                                      int characterWidth, const model::AnswerCodes& codes);
// The answer with every field shown at its default width.
engine::PrintSource answerPrintSource(db::Query& answer, const model::AnswerCodes& codes);
// The single-record view's rows: NomeCampo and Dato, the value column as
// wide as its longest value within 45 ... 100.
engine::PrintSource recordPrintSource(const QList<model::RecordField>& rows,
                                      const model::AnswerCodes& codes);

}  // namespace query::designer
