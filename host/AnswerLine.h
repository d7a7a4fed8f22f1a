#pragma once

#include <QString>
#include <QStringList>

namespace host {

// One line of an answer as `orbelan query --run` prints it: the values
// separated by ";". A value holding ";", a double quote, CR or LF is put
// between double quotes with its own quotes doubled, so that a line is
// always one record and a reader can split it back; any other value is
// written as it stands.
QString answerLine(const QStringList& values);

}  // namespace host
