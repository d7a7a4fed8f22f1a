#include "db/FieldType.h"

namespace db {

bool isNumeric(FieldType type) {
  switch (type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::Word:
    case FieldType::Float:
    case FieldType::Currency:
    case FieldType::Bcd:
    case FieldType::AutoInc:
    case FieldType::LargeInt:
      return true;
    default:
      return false;
  }
}

bool isDateLike(FieldType type) {
  return type == FieldType::Date || type == FieldType::Time || type == FieldType::DateTime;
}

bool isLongText(FieldType type) {
  return type == FieldType::Memo || type == FieldType::FmtMemo || type == FieldType::Blob;
}

}  // namespace db
