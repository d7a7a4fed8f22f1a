#include "query/engine/PrintSource.h"

#include <algorithm>

#include "query/engine/PrintLayout.h"

namespace query::engine {

bool PrintSource::takesPartInTotals(int field) const {
  if (field < 0 || field >= fields.size()) return false;
  const PrintField& each = fields.at(field);
  return each.visible && each.totals && totalsType(each.type);
}

bool PrintSource::markedForTotals() const {
  return std::any_of(fields.cbegin(), fields.cend(),
                     [](const PrintField& field) { return field.visible && field.totals; });
}

int defaultDisplayWidth(db::FieldType type, int size, const QString& name) {
  using T = db::FieldType;
  int width = 10;
  switch (type) {
    case T::String:
    case T::FixedChar:
    case T::WideString:
      width = size;
      break;
    case T::SmallInt:
      width = 6;
      break;
    case T::Integer:
      width = 11;
      break;
    case T::LargeInt:
    case T::Bcd:
    case T::Float:
    case T::Currency:
      width = 15;
      break;
    case T::DateTime:
      width = 19;
      break;
    case T::Boolean:
      width = 5;
      break;
    default:
      break;
  }
  return std::clamp(std::max<int>(width, static_cast<int>(name.size())), 1, 255);
}

}  // namespace query::engine
