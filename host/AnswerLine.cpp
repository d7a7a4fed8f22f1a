#include "AnswerLine.h"

#include <algorithm>

namespace host {

namespace {

QString field(const QString& value) {
  static const QString special = QStringLiteral(";\"\r\n");
  if (std::none_of(value.cbegin(), value.cend(), [](QChar c) { return special.contains(c); }))
    return value;
  QString quoted = value;
  quoted.replace(u'"', QStringLiteral("\"\""));
  return u'"' + quoted + u'"';
}

}  // namespace

QString answerLine(const QStringList& values) {
  QString line;
  for (qsizetype i = 0; i < values.size(); ++i) {
    if (i > 0) line += u';';
    line += field(values[i]);
  }
  return line;
}

}  // namespace host
