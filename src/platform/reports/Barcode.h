#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include "platform/reports/LabelProject.h"

// Barcodes encoded by zint and laid out to fill a box, as rectangles and
// human-readable text that any QPainter can draw, so that PDF output stays
// vector.
namespace platform::reports {

// A piece of human-readable text: its baseline anchor, the height of its
// characters and which end of it the anchor is (zint splits EAN text in
// groups under and beside the bars).
struct BarcodeText {
  QPointF anchor;
  double size = 0;
  Qt::Alignment alignment = Qt::AlignHCenter;
  QString text;
};

struct BarcodeDrawing {
  // In millimetres from the top-left corner of the box.
  QList<QRectF> bars;
  QList<BarcodeText> texts;
  // Why the value could not be encoded; empty when it was.
  QString error;
};

// Encodes `data` and fits the symbol into a box of `size` millimetres: the
// bars keep the module proportions across the width and grow to fill the
// height; a box too low for a readable symbol gets a narrower one, centred.
// The quiet zones scanners need are inside the box. The human-readable text
// has zint's size for the symbol, at most the font's. Empty data draws
// nothing and is no error. An EAN-13 takes 12 digits (the check digit is
// added) or 13 (the check digit is verified).
BarcodeDrawing layoutBarcode(Symbology symbology, const QString& data, bool humanReadable,
                             const QSizeF& size, const LabelFont& font);

}  // namespace platform::reports
