#pragma once

namespace query::model {

// State flags of the designer, all off when it is created.
struct DesignerFlags {
  bool locked = false;            // the rows hold a lock row: no structural change
  bool sideBySide = false;        // the query has at least one side-by-side part
  bool singleRecordView = false;  // the result grid shows the current record's fields
  bool layoutCurrent = false;     // the temporary print layout matches the answer's columns
  // The internal-change flag is the row list's own (RowList::internalChange,
  // held by an InternalChange scope), because its guards read it.
};

}  // namespace query::model
