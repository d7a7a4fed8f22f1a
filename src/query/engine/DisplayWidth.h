#pragma once

#include "db/FieldType.h"

namespace query::engine {

// The width in characters an answer column gets before the user changes it:
// one that holds the longest text of the field's type, so that no value is
// cut (the size of a text field, 11 for an integer, 20 for a BIGINT, 19 for
// a timestamp, every digit with sign and point for an exact numeric).
int defaultDisplayWidth(const db::FieldInfo& field);

// The same for a printed column, never narrower than the field's name and
// at most 255.
int printDisplayWidth(const db::FieldInfo& field);

}  // namespace query::engine
