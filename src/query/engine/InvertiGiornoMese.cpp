#include "query/engine/InvertiGiornoMese.h"

namespace query::engine {

namespace {

// Where the closing apostrophe and the second "/" stand after the first "/",
// tried in this order: month of one or two digits, year of two or four.
struct DateShape {
  int quote;
  int slash;
};
constexpr DateShape kShapes[] = {{5, 2}, {6, 3}, {7, 2}, {8, 3}};

}  // namespace

QString InvertiGiornoMese(const QString& condition) {
  QString text = condition;
  const qsizetype length = text.size();
  auto is = [&](qsizetype at, QChar c) { return at >= 0 && at < length && text[at] == c; };
  // p is the first "/" counted from 0; the bounds are those of a count from 1.
  for (qsizetype p = 3; p + 1 < length - 6; ++p) {
    if (text[p] != u'/') continue;
    const qsizetype open = is(p - 2, u'\'') ? p - 2 : is(p - 3, u'\'') ? p - 3 : -1;
    if (open < 0) continue;
    for (const DateShape& shape : kShapes) {
      const qsizetype close = p + shape.quote;
      if (!is(close, u'\'')) continue;
      const qsizetype second = p + shape.slash;
      if (is(second, u'/')) {
        const QString day = text.mid(open + 1, p - open - 1);
        const QString month = text.mid(p + 1, second - p - 1);
        text.replace(open + 1, second - open - 1, month + u'/' + day);
        p = close;  // the text keeps its length; resume after the closing apostrophe
      }
      break;
    }
  }
  return text;
}

}  // namespace query::engine
