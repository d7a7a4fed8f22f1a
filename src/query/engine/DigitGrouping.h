#pragma once

#include <QLocale>
#include <QString>
#include <QVariant>

#include "db/FieldType.h"

namespace query::engine {

// Whether the answer grid groups the digits of a column of this type.
bool groupsDigits(db::FieldType type);

// A number with the locale's thousands separators and the given decimals;
// zero gives an empty text, so that a grouped column shows only what counts.
QString groupedNumber(double value, int decimals, const QLocale& locale);

// The text of an answer cell: a float or BCD value with grouping digit 1
// gets separators and two decimals, with digit 2 separators and no
// decimals; every other cell its plain display text.
QString groupedCellText(const QVariant& value, db::FieldType type, int grouping,
                        const QLocale& locale);

// "Numero record presenti: " and the count with thousands separators.
QString recordCountText(qint64 count, const QLocale& locale);

}  // namespace query::engine
