#include "platform/crystal/TextReport.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QMap>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>

#include "core/OutputFile.h"
#include "core/Paths.h"
#include "core/TerminationSignals.h"
#include "platform/localstore/LocalTable.h"

namespace platform::crystal {

namespace {

bool readTable(const QString& location, localstore::LocalColumns& columns,
               QList<QVariantList>& rows, QString& error) {
  return localstore::readLocalTable(core::storedDirectory(location), core::storedFileName(location),
                                    &columns, &rows, &error);
}

int columnOf(const localstore::LocalColumns& columns, const char* name) {
  for (int i = 0; i < columns.size(); ++i)
    if (columns.at(i).name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return i;
  return -1;
}

QPageLayout pageLayout(const TextDefinition& text) {
  return QPageLayout(QPageSize(text.pageSize), text.orientation, text.margins,
                     QPageLayout::Millimeter);
}

}  // namespace

bool readTextPages(const QString& pagesLocation, const QString& linesLocation,
                   QList<TextPage>& pages, QString& error) {
  pages.clear();
  localstore::LocalColumns pageColumns;
  localstore::LocalColumns lineColumns;
  QList<QVariantList> pageRows;
  QList<QVariantList> lineRows;
  if (!readTable(pagesLocation, pageColumns, pageRows, error) ||
      !readTable(linesLocation, lineColumns, lineRows, error))
    return false;
  const int pageNumber = columnOf(pageColumns, "NumeroPagina");
  const int linePage = columnOf(lineColumns, "NumeroPagina");
  const int lineNumber = columnOf(lineColumns, "NumeroRiga");
  const int lineText = columnOf(lineColumns, "Descrizione");
  if (pageNumber < 0) {
    error = QStringLiteral("la tabella %1 non ha il campo NumeroPagina").arg(pagesLocation);
    return false;
  }
  if (linePage < 0 || lineNumber < 0 || lineText < 0) {
    error = QStringLiteral("la tabella %1 non ha i campi NumeroPagina, NumeroRiga e Descrizione")
                .arg(linesLocation);
    return false;
  }
  QMap<int, int> byNumber;  // page number -> index in `pages`
  QList<int> numbers;
  for (const QVariantList& row : pageRows) numbers.append(row.value(pageNumber).toInt());
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  for (int number : numbers) {
    byNumber.insert(number, static_cast<int>(pages.size()));
    pages.append(TextPage{number, {}});
  }
  QList<QVariantList> sorted = lineRows;
  std::stable_sort(sorted.begin(), sorted.end(), [&](const QVariantList& a, const QVariantList& b) {
    const int pa = a.value(linePage).toInt();
    const int pb = b.value(linePage).toInt();
    if (pa != pb) return pa < pb;
    return a.value(lineNumber).toDouble() < b.value(lineNumber).toDouble();
  });
  for (const QVariantList& row : sorted) {
    const auto found = byNumber.constFind(row.value(linePage).toInt());
    if (found == byNumber.cend()) continue;
    pages[found.value()].lines.append(row.value(lineText).toString());
  }
  return true;
}

void applyTextPage(const TextDefinition& text, QPrinter& printer) {
  printer.setPageLayout(pageLayout(text));
}

bool paintTextPages(const TextDefinition& text, const QList<TextPage>& pages,
                    QPagedPaintDevice& device) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  QFont font(text.fontFamily);
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  font.setPointSizeF(text.pointSize);
  painter.setFont(font);
  const QFontMetricsF metrics(font, &device);
  const QRectF area = device.pageLayout().paintRectPixels(device.logicalDpiX());
  const double step = metrics.lineSpacing();
  for (qsizetype i = 0; i < pages.size(); ++i) {
    // A termination signal abandons the document between pages.
    if (core::terminationRequested() || (i > 0 && !device.newPage())) {
      painter.end();
      return false;
    }
    double y = metrics.ascent();
    for (const QString& line : pages.at(i).lines) {
      if (y > area.height()) break;
      painter.drawText(QPointF(0, y), line);
      y += step;
    }
  }
  return painter.end();
}

bool saveTextReport(const TextDefinition& text, const QList<TextPage>& pages, const QString& path,
                    QString& error) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(300);
    pdf.setPageLayout(pageLayout(text));
    if (!paintTextPages(text, pages, pdf)) {
      error = QStringLiteral("%1: impossibile comporre il documento").arg(path);
      return false;
    }
  }
  core::OutputFile file(path);
  if (!file.open() || !file.write(buffer.data()) || !file.commit()) {
    error = QStringLiteral("Impossibile scrivere %1: %2").arg(path, file.error());
    return false;
  }
  return true;
}

}  // namespace platform::crystal
