#include "query/engine/DisplayWidth.h"

#include <algorithm>

namespace query::engine {

int defaultDisplayWidth(const db::FieldInfo& field) {
  switch (field.type) {
    case db::FieldType::String:
    case db::FieldType::FixedChar:
    case db::FieldType::WideString:
    case db::FieldType::Bytes:
    case db::FieldType::VarBytes:
      return std::max(field.size, 1);
    case db::FieldType::SmallInt:
      return 6;
    case db::FieldType::Integer:
    case db::FieldType::Word:
    case db::FieldType::AutoInc:
      return 11;
    case db::FieldType::LargeInt:
      return 15;
    case db::FieldType::DateTime:
      return 18;
    case db::FieldType::Boolean:
      return 5;
    default:
      return 10;
  }
}

}  // namespace query::engine
