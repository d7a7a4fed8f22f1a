#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "platform/crystal/ReportFile.h"

class QPagedPaintDevice;
class QPrinter;

// Text reports: the pre-formatted lines of a query print, read from its page
// table (table 0, one row per page: NumeroPagina) and its line table
// (table 1: NumeroPagina, NumeroRiga, TipoRiga, Descrizione), laid out one
// table page on one printed page in a monospaced font.
namespace platform::crystal {

struct TextPage {
  int number = 0;
  QStringList lines;  // in the order of NumeroRiga
};

// Reads the pages and their lines from the two tables (stored locations:
// directory, backslash, file name). Pages come in the order of NumeroPagina,
// lines in that of NumeroRiga; lines of a page the page table lacks are left
// out. False with `error` set.
bool readTextPages(const QString& pagesLocation, const QString& linesLocation,
                   QList<TextPage>& pages, QString& error);

// Lays the pages out on `device` (a printer or a PDF writer already set up
// with the page of `text`), one page each; lines beyond the page's height
// are cut off. False when painting could not start.
bool paintTextPages(const TextDefinition& text, const QList<TextPage>& pages,
                    QPagedPaintDevice& device);

// Sets the printer's page, orientation and margins to those of the report.
void applyTextPage(const TextDefinition& text, QPrinter& printer);

// Writes the pages to a PDF document at a native path, whole or not at all:
// a failure leaves an older file of that name as it was. False with `error`.
bool saveTextReport(const TextDefinition& text, const QList<TextPage>& pages, const QString& path,
                    QString& error);

}  // namespace platform::crystal
