#include "query/engine/PrintTextLines.h"

#include <algorithm>

#include "query/engine/DigitGrouping.h"
#include "query/engine/SingleRecord.h"

namespace query::engine {

namespace {

using T = db::FieldType;

QString withoutLineEnds(QString text) {
  return text.replace(QLatin1Char('\r'), QLatin1Char(' '))
      .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

}  // namespace

PrintTextLines::PrintTextLines(const PrintSource& source, bool longTexts, bool hasTotals,
                               QLocale locale)
    : source_(source), longTexts_(longTexts), hasTotals_(hasTotals), locale_(std::move(locale)) {
  for (int i = 0; i < source.fields.size(); ++i) {
    const PrintField& field = source.fields.at(i);
    widths_ << std::max(field.displayWidth, static_cast<int>(field.label.size()));
    if (field.visible) visible_ << i;
  }
}

QString PrintTextLines::cell(const QString& text, int width) const {
  return text.left(width).leftJustified(width, QLatin1Char(' '));
}

QString PrintTextLines::rightAligned(const QString& text, int width) const {
  return text.size() > width ? text.left(width) : text.rightJustified(width, QLatin1Char(' '));
}

QString PrintTextLines::headerLine() const {
  QString line = QStringLiteral("|");
  for (const int field : visible_)
    line += cell(source_.fields.at(field).name, widths_.at(field)) + QLatin1Char('|');
  return line;
}

QString PrintTextLines::dashLine() const {
  return QString(headerLine().size(), QLatin1Char('-'));
}

QStringList PrintTextLines::heading(const QString& title, const QString& notes) const {
  return {title, notes, QString(), headerLine(), dashLine()};
}

QStringList PrintTextLines::recordLines(int row, model::Totals& totals) const {
  // Long texts in pieces of their column's width; the record takes as many
  // lines as its longest one needs.
  QList<QStringList> pieces(source_.fields.size());
  int count = 1;
  if (longTexts_) {
    for (int i = 0; i < source_.fields.size(); ++i) {
      if (!db::isLongText(source_.fields.at(i).type)) continue;
      pieces[i] = splitLongText(source_.text(row, i), std::max(1, widths_.at(i)));
      count = std::max(count, static_cast<int>(pieces[i].size()));
    }
  }
  QStringList lines;
  for (int n = 0; n < count; ++n) {
    QString line = QStringLiteral("|");
    for (const int i : visible_) {
      const PrintField& field = source_.fields.at(i);
      const int w = widths_.at(i);
      QString text;
      if (longTexts_ && db::isLongText(field.type)) {
        text = n < pieces[i].size() ? pieces[i].at(n) : QString();
      } else if (n > 0) {
        text.clear();
      } else if (field.type == T::Float && (field.grouping == 1 || field.grouping == 2)) {
        const QVariant value = source_.value(row, i);
        text = rightAligned(
            value.isNull() ? QString()
                           : groupedNumber(value.toDouble(), field.grouping == 1 ? 2 : 0, locale_),
            w);
      } else {
        text = withoutLineEnds(source_.text(row, i));
      }
      line += cell(text, w) + QLatin1Char('|');
    }
    lines << line;
  }
  if (hasTotals_)
    for (int i = 0; i < source_.fields.size(); ++i)
      if (source_.takesPartInTotals(i)) totals.add(i, source_.value(row, i).toDouble());
  return lines;
}

QString PrintTextLines::totalsLine(const model::Totals& totals) const {
  QLocale grouped = locale_;
  grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
  QString line = QStringLiteral("|");
  for (const int i : visible_) {
    const PrintField& field = source_.fields.at(i);
    const int w = widths_.at(i);
    QString text;
    if (source_.takesPartInTotals(i)) {
      const double total = static_cast<double>(totals.total(i));
      // A float column with grouping 1 shows two decimals, a BCD column the
      // decimals of its scale (a sum of amounts keeps its cents), any other
      // none.
      const int decimals = field.type == T::Float ? (field.grouping == 1 ? 2 : 0)
                           : field.type == T::Bcd ? field.scale
                                                  : 0;
      text = rightAligned(grouped.toString(total, 'f', decimals), w);
    }
    line += cell(text, w) + QLatin1Char('|');
  }
  return line;
}

bool PrintTextLines::bodyLines(int records, model::Totals& totals,
                               const std::function<bool(const QString&)>& add) const {
  if (hasTotals_) totals.zero();
  for (int row = 0; row < records; ++row)
    for (const QString& line : recordLines(row, totals))
      if (!add(line)) return false;
  if (hasTotals_) return add(dashLine()) && add(totalsLine(totals));
  return true;
}

}  // namespace query::engine
