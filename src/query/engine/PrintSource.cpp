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

}  // namespace query::engine
