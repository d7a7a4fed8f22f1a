#pragma once

#include <QColor>
#include <QList>
#include <QMap>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

// A list project as the list engine reads it from its text file: the page,
// the layers, one list object with its lines of columns, and text objects.
// Lengths are millimetres.
namespace platform::reports {

struct ListFont {
  QString name = QStringLiteral("Arial");
  double pointSize = 10;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  QColor colour = Qt::black;
};

enum class ListAlign { Left = 0, Centre = 1, Right = 2 };

struct ListColumn {
  double width = 20;
  ListAlign align = ListAlign::Left;
  bool fit = false;  // the text wraps and the line grows
  QMarginsF space{1, 0.5, 1, 0.5};
  bool hasFont = false;
  ListFont font;        // when hasFont, else the list's
  QString expression;   // what the column prints
  int sourceLine = -1;  // the file line that defines it (for editing)
};

// A line of the list: its columns and the condition that prints it.
struct ListLine {
  QList<ListColumn> columns;
  QString condition;  // empty: always
};

struct ListTable {
  QRectF rect;
  int layer = 0;
  QString condition;
  ListFont font;
  QList<ListLine> lines;  // data lines, each printed when its condition holds
  QList<ListLine> header;
  QList<ListLine> footer;
};

struct ListText {
  QRectF rect;
  int layer = 0;
  QString condition;
  ListFont font;
  QStringList expressions;  // one paragraph each
};

struct ListLayout {
  QSizeF page{210, 297};
  bool landscape = false;
  ListFont defaultFont;
  QMap<int, QString> layerConditions;
  bool hasTable = false;
  ListTable table;
  QList<ListText> texts;
  // Where the page's keys stand in the file (for editing): the lines of
  // the sizes, the orientations and the list's font.
  QList<int> sizeLines;
  QList<int> orientationLines;
  int fontLine = -1;
  int rectLine = -1;
};

}  // namespace platform::reports
