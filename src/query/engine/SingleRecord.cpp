#include "query/engine/SingleRecord.h"

#include <QRegularExpression>
#include <algorithm>

#include "db/Query.h"
#include "query/engine/DigitGrouping.h"

namespace query::engine {

namespace {

// One line (no line ends) in pieces of at most `limit` characters.
void splitLine(const QString& line, int limit, QStringList& pieces) {
  qsizetype pos = 0;
  const qsizetype length = line.size();
  if (length == 0) pieces << QString();
  while (pos < length) {
    if (length - pos <= limit) {
      pieces << line.mid(pos);
      return;
    }
    // A blank right after the limit still ends a piece of exactly the limit.
    const qsizetype blank = line.lastIndexOf(QLatin1Char(' '), pos + limit);
    if (blank > pos) {
      pieces << line.mid(pos, blank - pos);
      pos = blank + 1;
    } else if (blank == pos) {
      ++pos;  // a blank left at the start of a piece is dropped too
    } else {
      pieces << line.mid(pos, limit);
      pos += limit;
    }
  }
}

}  // namespace

QStringList splitLongText(const QString& text, int limit) {
  static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
  QStringList lines = text.split(lineEnd);
  // A text that ends with a line end has no empty line after it.
  if (lines.size() > 1 && lines.last().isEmpty()) lines.removeLast();
  QStringList pieces;
  for (const QString& line : lines) splitLine(line, std::max(1, limit), pieces);
  return pieces;
}

RecordView MostraUnRecord(const QList<RecordValue>& fields, const QLocale& locale) {
  RecordView view;
  const auto append = [&view](const QString& name, const QString& dato) {
    view.rows.append(model::RecordField{name, dato});
    view.longest = std::max(view.longest, static_cast<int>(dato.size()));
  };
  for (const RecordValue& field : fields) {
    if (db::isLongText(field.type)) {
      for (const QString& piece : splitLongText(db::displayText(field.value)))
        append(field.name, piece);
      continue;
    }
    QString text = groupedCellText(field.value, field.type, field.grouping, locale);
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    append(field.name, text.left(kRecordTextLimit));
  }
  return view;
}

}  // namespace query::engine
