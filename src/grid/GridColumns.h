#pragma once

#include <QString>
#include <vector>

#include "db/DataSet.h"

namespace grid {

// One column of the grid, bound to one field of the source.
struct GridColumn {
  int field = -1;     // index of the field in the source
  QString fieldName;  // the field's name as the source reports it
  QString origin;     // the field's table-qualified source column, empty for expressions
  db::FieldType type = db::FieldType::Unknown;
  int width = 64;    // pixels
  QString caption;   // title
  qint64 color = 0;  // colour integer; 0 for the grid's own colour
  bool visible = true;
  qint64 titleColor = 0;  // colour integer of the title; 0 for the default
};

using GridColumns = std::vector<GridColumn>;

// The default columns of an open source: one per field in field order,
// titled with the field name, as wide as widthOf says.
template <class WidthOf>
GridColumns defaultColumns(const db::DataSet& source, WidthOf widthOf);

// Index of the first column bound to the named field (ignoring case), -1 when none.
int columnOfField(const GridColumns& columns, const QString& fieldName);

// Moves the column of the named field to a position; false (nothing moved)
// for an unknown field or a position out of range.
bool moveField(GridColumns& columns, const QString& fieldName, int position);

// Every title back to its default colour.
void clearTitleColors(GridColumns& columns);

template <class WidthOf>
GridColumns defaultColumns(const db::DataSet& source, WidthOf widthOf) {
  GridColumns columns;
  for (int i = 0; i < source.fieldCount(); ++i) {
    const db::FieldInfo& info = source.field(i);
    GridColumn column;
    column.field = i;
    column.fieldName = info.name;
    column.origin = info.origin;
    column.type = info.type;
    column.caption = info.name;
    column.width = widthOf(info);
    columns.push_back(column);
  }
  return columns;
}

}  // namespace grid
