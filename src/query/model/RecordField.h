#pragma once

#include <QString>

namespace query::model {

// A row of the single-record view (TabRecTmp): one answer field of the
// current record, or one piece of a long text field.
struct RecordField {
  QString nomeCampo;
  QString dato;

  friend bool operator==(const RecordField&, const RecordField&) = default;
};

}  // namespace query::model
