#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "db/FieldType.h"
#include "query/model/RecordField.h"

namespace query::engine {

// The longest text a row of the single-record view holds.
constexpr int kRecordTextLimit = 100;

// One visible answer field of the current record.
struct RecordValue {
  QString name;
  db::FieldType type = db::FieldType::Unknown;
  QVariant value;
  int grouping = 0;  // the column's digit grouping
};

// The rows of the single-record view (TabRecTmp) and the longest Dato.
struct RecordView {
  QList<model::RecordField> rows;
  int longest = 0;
};

// A long text in pieces of at most `limit` characters. A line end always
// ends a piece; within a line a piece ends at the last blank before the
// limit, so a word that would cross it starts the next piece; the blank or
// line end at a break is dropped; a word longer than the limit is cut at it.
QStringList splitLongText(const QString& text, int limit = kRecordTextLimit);

// The single-record view of the given fields, in their order: memo and blob
// fields one row per piece, float and BCD fields with digit grouping as the
// grid shows them, any other field its text cut to the limit with line ends
// made blanks.
RecordView MostraUnRecord(const QList<RecordValue>& fields, const QLocale& locale);

}  // namespace query::engine
