#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "db/FieldType.h"

// The list layouts the query printing generates when no named layout is
// chosen: the advanced layout, one column per visible field with a detail,
// a totals and a header line, and the standard layout, one text column
// printing the lines of the text print generator. Both are list projects in
// the list engine's vocabulary, written into Report\QuovTemp.lst.
namespace query::engine {

// A field of the print's source as the layout sees it.
struct LayoutField {
  QString name;
  db::FieldType type = db::FieldType::Unknown;
  int scale = 0;         // decimals of a BCD field
  int displayWidth = 0;  // characters
  bool visible = true;
  int grouping = 0;     // digit grouping code: 0 plain, 1 two decimals, 2 none
  bool totals = false;  // marked for totals by its code
};

// The print font, colour as red, green and blue components 0 ... 255.
struct LayoutFont {
  QString name = QStringLiteral("Arial");
  int pointSize = 8;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  int red = 0;
  int green = 0;
  int blue = 0;
};

struct AdvancedLayout {
  QList<LayoutField> fields;  // the source's fields in field order
  QList<int> gridColumns;     // the result grid's columns in display order (field indexes)
  bool hasTotals = false;     // the print has totals
  bool singleRecord = false;  // the single-record view is printed: no totals section
  bool landscape = false;
  bool numberPages = true;
  bool longTexts = false;  // memo and blob fields printed in full
  LayoutFont font;
};

// Whether a field of this type is added up in a print's totals: small
// integer, integer, float, currency and BCD.
bool totalsType(db::FieldType type);

// The expression that prints a field: `name` as it stands, or through
// Fstr$ with the mask of its type and grouping for numbers.
QString fieldExpression(const QString& name, const LayoutField& field);

// A column's width in layout units (thousandths of a millimetre).
int layoutColumnWidth(int displayWidth);

// The lines of the two layouts.
QStringList advancedLayoutLines(const AdvancedLayout& layout);
QStringList standardLayoutLines(const LayoutFont& font);

// The bytes of a layout file: Windows-1252, every line ended by CR LF.
QByteArray layoutFileBytes(const QStringList& lines);

// Writes a layout file (stored path), whole or not at all, creating its
// directory when missing. False with `error` set.
bool writeLayoutFile(const QString& storedPath, const QStringList& lines, QString* error);
// The same for a layout's bytes as they are.
bool writeLayoutBytes(const QString& storedPath, const QByteArray& bytes, QString* error);

}  // namespace query::engine
