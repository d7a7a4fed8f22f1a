#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>

// Reading back the PDF files the label engine writes, with poppler-utils and
// zbar-tools: their text, their pages and the barcodes a scanner reads.
namespace pdftools {

// The text of the whole file (pdftotext).
QString text(const QString& pdf);
// The number of pages and the size of the first one in millimetres (pdfinfo).
int pages(const QString& pdf);
QSizeF pageSizeMm(const QString& pdf);
// The values of the barcodes on one page (from 1), rendered at 300 dpi and
// decoded by zbarimg, sorted.
QStringList barcodes(const QString& pdf, int page = 1);

}  // namespace pdftools
