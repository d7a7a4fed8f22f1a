#include "platform/reports/ListPages.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <cmath>

namespace platform::reports {

namespace {

// Text is measured at this resolution, whatever the device.
constexpr double kMeasureDpi = 1200.0;
constexpr double kMmPerDot = 25.4 / kMeasureDpi;

const QImage& measureDevice() {
  static const QImage image = [] {
    QImage device(1, 1, QImage::Format_RGB32);
    const int dotsPerMetre = int(std::lround(kMeasureDpi / 0.0254));
    device.setDotsPerMeterX(dotsPerMetre);
    device.setDotsPerMeterY(dotsPerMetre);
    return device;
  }();
  return image;
}

QString fontKey(const ListFont& font) {
  return QStringLiteral("%1|%2|%3%4%5%6")
      .arg(font.name)
      .arg(font.pointSize)
      .arg(font.bold)
      .arg(font.italic)
      .arg(font.underline)
      .arg(font.strikeout);
}

const QFontMetricsF& metrics(const ListFont& font) {
  static QHash<QString, QFontMetricsF> cache;
  const QString key = fontKey(font);
  auto it = cache.find(key);
  if (it == cache.end()) it = cache.insert(key, QFontMetricsF(printFont(font), &measureDevice()));
  return *it;
}

}  // namespace

QFont printFont(const ListFont& font) {
  QFont qfont(font.name);
  qfont.setPointSizeF(font.pointSize);
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  qfont.setUnderline(font.underline);
  qfont.setStrikeOut(font.strikeout);
  return qfont;
}

double ListTextMeasure::lineHeight(const ListFont& font) {
  return metrics(font).lineSpacing() * kMmPerDot;
}

double ListTextMeasure::width(const ListFont& font, const QString& text) {
  return metrics(font).horizontalAdvance(text) * kMmPerDot;
}

QStringList ListTextMeasure::wrap(const ListFont& font, const QString& text, double width) {
  QStringList lines;
  for (const QString& paragraph :
       QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(QLatin1Char('\n'))) {
    QString line;
    for (QString word : paragraph.split(QLatin1Char(' '))) {
      const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
      if (this->width(font, joined) <= width) {
        line = joined;
        continue;
      }
      if (!line.isEmpty()) lines << line;
      // A word wider than the column is cut where it stops fitting.
      while (word.size() > 1 && this->width(font, word) > width) {
        qsizetype fits = 1;
        while (fits < word.size() && this->width(font, word.left(fits + 1)) <= width) ++fits;
        lines << word.left(fits);
        word = word.mid(fits);
      }
      line = word;
    }
    lines << line;
  }
  return lines;
}

void setUpListPrinter(QPrinter& printer, const QSizeF& page) {
  const QSizeF portrait(std::min(page.width(), page.height()),
                        std::max(page.width(), page.height()));
  const bool a4 = std::fabs(portrait.width() - 210) < 2 && std::fabs(portrait.height() - 297) < 2;
  const QPageSize size =
      a4 ? QPageSize(QPageSize::A4)
         : QPageSize(portrait, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
  printer.setFullPage(true);
  printer.setPageLayout(QPageLayout(
      size, page.width() > page.height() ? QPageLayout::Landscape : QPageLayout::Portrait,
      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

void paintListPage(QPainter& painter, const ListPage& page, double dotsPerMm) {
  const auto scaled = [dotsPerMm](const QRectF& rect) {
    return QRectF(rect.left() * dotsPerMm, rect.top() * dotsPerMm, rect.width() * dotsPerMm,
                  rect.height() * dotsPerMm);
  };
  QPen rule(Qt::black);
  rule.setWidthF(std::max(1.0, 0.15 * dotsPerMm));
  painter.setPen(rule);
  for (const QLineF& line : page.rules)
    painter.drawLine(QLineF(line.p1() * dotsPerMm, line.p2() * dotsPerMm));
  for (const ListPageText& text : page.texts) {
    if (text.text.isEmpty()) continue;
    painter.setFont(printFont(text.font));
    painter.setPen(text.font.colour);
    const Qt::Alignment align = text.align == ListAlign::Right    ? Qt::AlignRight
                                : text.align == ListAlign::Centre ? Qt::AlignHCenter
                                                                  : Qt::AlignLeft;
    painter.save();
    const QRectF rect = scaled(text.rect);
    painter.setClipRect(rect.adjusted(-1, -1, 1, 1));
    painter.drawText(rect, int(align | Qt::AlignTop | Qt::TextSingleLine), text.text);
    painter.restore();
  }
}

}  // namespace platform::reports
