#pragma once

#include <QFont>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include "platform/reports/ListLayout.h"

class QPainter;
class QPrinter;

// The pages of a list print as the engine lays them out: texts in
// rectangles and rules, in millimetres, painted afterwards on a printer, a
// PDF file or a preview.
namespace platform::reports {

struct ListPageText {
  QRectF rect;
  QString text;
  ListFont font;
  ListAlign align = ListAlign::Left;
};

struct ListPage {
  QList<ListPageText> texts;
  QList<QLineF> rules;
};

// The font a list font prints with.
QFont printFont(const ListFont& font);

// Text measured as it prints, in millimetres, independent of the device.
class ListTextMeasure {
 public:
  double lineHeight(const ListFont& font);
  double width(const ListFont& font, const QString& text);
  // The text in lines that fit the width, broken between words (a word
  // wider than the width is cut).
  QStringList wrap(const ListFont& font, const QString& text, double width);
};

// The printer's page for a project's page size (a page of A4 size is A4).
void setUpListPrinter(QPrinter& printer, const QSizeF& page);

// Paints one page; the painter's device is the page, `dotsPerMm` its scale.
void paintListPage(QPainter& painter, const ListPage& page, double dotsPerMm);

}  // namespace platform::reports
