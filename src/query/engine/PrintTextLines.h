#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>

#include "query/engine/PrintSource.h"
#include "query/model/Totals.h"

// The text lines of the simple prints: a header of the visible fields'
// names between bars, a dash line, one or more lines per record with each
// value in its column, and a totals line.
namespace query::engine {

class PrintTextLines {
 public:
  PrintTextLines(const PrintSource& source, bool longTexts, bool hasTotals, QLocale locale);

  // Width of a field's column: its display width, or its label's length
  // when longer.
  int width(int field) const { return widths_.at(field); }
  QString headerLine() const;
  QString dashLine() const;
  // The five heading lines of every page.
  QStringList heading(const QString& title, const QString& notes) const;
  // The lines of one record; its totals go into `totals` when the print has them.
  QStringList recordLines(int row, model::Totals& totals) const;
  QString totalsLine(const model::Totals& totals) const;

  // Every body line of the print in order: records, then the dash and
  // totals lines when there are totals. `add` returns false to stop.
  bool bodyLines(int records, model::Totals& totals,
                 const std::function<bool(const QString&)>& add) const;

 private:
  QString cell(const QString& text, int width) const;
  QString rightAligned(const QString& text, int width) const;

  const PrintSource& source_;
  bool longTexts_;
  bool hasTotals_;
  QLocale locale_;
  QList<int> widths_;
  QList<int> visible_;
};

}  // namespace query::engine
