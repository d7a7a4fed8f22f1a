#pragma once

#include "db/FieldType.h"

namespace query::engine {

// The width in characters an answer column gets before the user changes it:
// the size of a text field, a width that holds the usual values of the
// other types (11 for an integer, 10 for a date, 18 for a timestamp).
int defaultDisplayWidth(const db::FieldInfo& field);

}  // namespace query::engine
