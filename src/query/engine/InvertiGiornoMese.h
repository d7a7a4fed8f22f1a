#pragma once

#include <QString>

namespace query::engine {

// Turns the day-first dates typed between apostrophes in a condition into the
// month-first form the database reads: '31/03/2005' becomes '03/31/2005',
// '1/3/05' becomes '3/1/05'. Days and months of one or two digits, years of
// two or four. A date whose first "/" lies within three characters of the
// start or six of the end of the condition is left as it is.
QString InvertiGiornoMese(const QString& condition);

}  // namespace query::engine
