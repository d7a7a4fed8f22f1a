#pragma once

#include "query/output/SpreadsheetExport.h"

namespace query::designer {

// The sibling export library (Xendo.dll, libXendo.so here) as the Excel
// exports reach it: loaded where the environment loads sibling libraries,
// for one call at a time.
output::LibraryCaller xendoLibrary();

}  // namespace query::designer
