#pragma once

#include <QString>

namespace db {

// Field-type codes as the query engine and stored layouts know them.
enum class FieldType : int {
  Unknown = 0,
  String = 1,
  SmallInt = 2,
  Integer = 3,
  Word = 4,
  Boolean = 5,
  Float = 6,
  Currency = 7,
  Bcd = 8,
  Date = 9,
  Time = 10,
  DateTime = 11,
  Bytes = 12,
  VarBytes = 13,
  AutoInc = 14,
  Blob = 15,
  Memo = 16,
  Graphic = 17,
  FmtMemo = 18,
  ParadoxOle = 19,
  DBaseOle = 20,
  TypedBinary = 21,
  Cursor = 22,
  FixedChar = 23,
  WideString = 24,
  LargeInt = 25,
};

bool isNumeric(FieldType type);
bool isDateLike(FieldType type);
// Memos and blobs: texts without a length the answer's columns could show.
bool isLongText(FieldType type);

// What is known of one column of a result or table.
struct FieldInfo {
  QString name;  // column name as the result calls it (the alias)
  FieldType type = FieldType::Unknown;
  int size = 0;         // characters for text, bytes otherwise
  int scale = 0;        // digits after the point (positive), for exact numerics
  QString relation;     // table the column comes from, empty for expressions
  QString origin;       // "RELATION.FIELD" of the source column, empty for expressions
  QString sourceField;  // the source column's own name
  bool nullable = true;
  bool readOnly = false;  // in-memory tables: the column rejects edits
};

}  // namespace db
