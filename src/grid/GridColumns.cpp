#include "grid/GridColumns.h"

#include <algorithm>

namespace grid {

int columnOfField(const GridColumns& columns, const QString& fieldName) {
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (columns[i].fieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
      return static_cast<int>(i);
  return -1;
}

bool moveField(GridColumns& columns, const QString& fieldName, int position) {
  const int from = columnOfField(columns, fieldName);
  if (from < 0 || position < 0 || position >= static_cast<int>(columns.size())) return false;
  if (from == position) return true;
  GridColumn moving = columns[static_cast<std::size_t>(from)];
  columns.erase(columns.begin() + from);
  columns.insert(columns.begin() + position, std::move(moving));
  return true;
}

void clearTitleColors(GridColumns& columns) {
  for (GridColumn& column : columns) column.titleColor = 0;
}

}  // namespace grid
