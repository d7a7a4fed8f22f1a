#include "query/engine/DisplayWidth.h"

#include <algorithm>

namespace query::engine {

namespace {

// The digits an exact numeric of that many bytes can hold: its precision at
// the most (NUMERIC(4) in 2 bytes, NUMERIC(9) in 4, NUMERIC(18) in 8, whose
// integer reaches 19 digits).
int exactDigits(int bytes) {
  if (bytes <= 2) return 5;
  if (bytes <= 4) return 10;
  return 19;
}

}  // namespace

int defaultDisplayWidth(const db::FieldInfo& field) {
  using T = db::FieldType;
  switch (field.type) {
    case T::String:
    case T::FixedChar:
    case T::WideString:
    case T::Bytes:
    case T::VarBytes:
      return std::max(field.size, 1);
    case T::SmallInt:
      return 6;  // -32768
    case T::Integer:
    case T::Word:
    case T::AutoInc:
      return 11;  // -2147483648
    case T::LargeInt:
      return 20;  // -9223372036854775808
    case T::Bcd:
    case T::Currency:
      // Every digit, the sign and the decimal point.
      return exactDigits(field.size) + 2;
    case T::Float:
      // The shortest text that reads back as the same double, grouped:
      // -1.7976931348623157e+308 and -123,456,789,012,345.67 both fit.
      return 24;
    case T::Date:
      return 10;  // 31/12/2024
    case T::Time:
      return 8;  // 23:59:59
    case T::DateTime:
      return 19;  // 31/12/2024 23:59:59
    case T::Boolean:
      return 5;
    default:
      return 10;
  }
}

int printDisplayWidth(const db::FieldInfo& field) {
  return std::clamp(std::max(defaultDisplayWidth(field), static_cast<int>(field.name.size())), 1,
                    255);
}

}  // namespace query::engine
