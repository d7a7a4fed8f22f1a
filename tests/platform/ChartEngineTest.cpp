#include <gtest/gtest.h>

#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <map>

#include "DemoReports.h"
#include "PdfTools.h"
#include "core/Paths.h"
#include "platform/crystal/ChartDrawing.h"
#include "platform/crystal/ChartWindow.h"
#include "platform/crystal/PrintEngine.h"
#include "platform/localstore/LocalTable.h"
#include "support/TestFiles.h"

using namespace platform::crystal;
using platform::localstore::ColumnType;
using platform::localstore::LocalTable;

namespace {

// The first two colours of the shipped reports.
const QColor kBlue(0x2f, 0x6d, 0xb5);
const QColor kRed(0xd9, 0x47, 0x2b);
const QColor kOrange(0xf0, 0xa0, 0x30);

struct Point {
  QString label;
  QString series;
  double value;
};

// Pixels of exactly one colour.
int pixelsOf(const QImage& image, const QColor& color) {
  int count = 0;
  const QRgb wanted = color.rgb();
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) count += (line[x] & 0xFFFFFF) == (wanted & 0xFFFFFF);
  }
  return count;
}

// Pixels within a small distance of a colour (antialiased lines).
int pixelsNear(const QImage& image, const QColor& color) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor seen = image.pixelColor(x, y);
      count += std::abs(seen.red() - color.red()) + std::abs(seen.green() - color.green()) +
                   std::abs(seen.blue() - color.blue()) <
               40;
    }
  return count;
}

// The lengths of the bars of a colour along the middle line of each:
// heights of standing bars, widths of lying ones, in drawing order. Runs
// shorter than 20 pixels (the legend's markers) do not count.
QList<int> barLengths(const QImage& image, const QColor& color, bool standing) {
  const QRgb wanted = color.rgb() & 0xFFFFFF;
  const auto is = [&](int x, int y) { return (image.pixel(x, y) & 0xFFFFFF) == wanted; };
  QList<int> lengths;
  const int across = standing ? image.width() : image.height();
  const int along = standing ? image.height() : image.width();
  for (int i = 0; i < across;) {
    const auto covered = [&](int at) {
      for (int j = 0; j < along; ++j)
        if (standing ? is(at, j) : is(j, at)) return true;
      return false;
    };
    if (!covered(i)) {
      ++i;
      continue;
    }
    int end = i;
    while (end < across && covered(end)) ++end;
    const int middle = (i + end) / 2;
    // The longest stretch: the legend's marker may stand on the same line.
    int length = 0;
    for (int j = 0, run = 0; j < along; ++j) {
      run = (standing ? is(middle, j) : is(j, middle)) ? run + 1 : 0;
      length = std::max(length, run);
    }
    if (length >= 20) lengths << length;
    i = end;
  }
  return lengths;
}

class ChartEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    host::installDemoReports(dir_.filePath("report"));
  }

  QString report(const QString& name) const { return dir_.filePath("report/" + name); }
  QString file(const QString& name) const { return dir_.filePath(name); }
  QString tableLocation() const { return core::storedPath(dir_.path()) + "\\GRAFTMP.DB"; }

  void writeTable(const QList<Point>& points) {
    LocalTable table(core::storedPath(dir_.path()), "GRAFTMP.DB");
    table.setColumns({{"Descrizione1", ColumnType::Text, 20},
                      {"Descrizione2", ColumnType::Text, 20},
                      {"Valore", ColumnType::Float}});
    ASSERT_TRUE(table.create()) << table.lastError().toStdString();
    ASSERT_TRUE(table.open());
    for (const Point& point : points)
      ASSERT_TRUE(table.append({point.label, point.series, point.value}));
  }

  // Runs a report on the table into a file; the engine's error when it fails.
  QString drawTo(const QString& reportName, const QString& output,
                 const std::map<QString, QString>& formulas = {}) {
    PrintEngine engine;
    const int job = engine.openPrintJob(report(reportName));
    if (job == 0) return engine.lastError();
    bool done = engine.setNthTableLocation(job, 0, tableLocation());
    for (const auto& [name, text] : formulas) done = done && engine.setFormula(job, name, text);
    done = done && engine.outputToFile(job, output) && engine.startPrintJob(job, true);
    const QString error = done ? QString() : engine.lastError();
    EXPECT_TRUE(engine.closePrintJob(job));
    return error;
  }

  QImage image(const QString& reportName) {
    const QString output = file(reportName + ".png");
    EXPECT_EQ(drawTo(reportName, output), "");
    return QImage(output);
  }

  QTemporaryDir dir_;
};

}  // namespace

TEST_F(ChartEngine, BarsStandOrLieWithLengthsFollowingTheValuesInLabelOrder) {
  writeTable({{"C", "QTA", 30}, {"A", "QTA", 10}, {"B", "QTA", 20}, {"A", "QTA", 10}});
  // Standing bars: A (two points adding up to 20), B, C, from the left.
  QList<int> heights = barLengths(image("QGr01N.RPT"), kBlue, true);
  ASSERT_EQ(heights.size(), 3);
  EXPECT_NEAR(heights[0], heights[1], 2) << "A's points add up";
  EXPECT_NEAR(heights[2] * 2, heights[1] * 3, 6);
  // Lying bars of the vertical x axis: A at the top.
  const QList<int> widths = barLengths(image("QGr01VN.RPT"), kBlue, false);
  ASSERT_EQ(widths.size(), 3);
  EXPECT_NEAR(widths[2] * 2, widths[1] * 3, 6);
  EXPECT_NEAR(widths[0], widths[1], 2);
  // The 3D look shades the bars: little of the flat colour is left.
  EXPECT_LT(pixelsOf(image("QGr02N3.RPT"), kBlue) * 4, pixelsOf(image("QGr01N.RPT"), kBlue));
}

TEST_F(ChartEngine, APieHasASliceOfEachLabelAndSeveralSeriesStackOrStandSideBySide) {
  writeTable({{"A", "QTA", 10},
              {"B", "QTA", 20},
              {"C", "QTA", 30},
              {"D", "QTA", -5},
              {"A", "RESI", 30},
              {"B", "RESI", 30},
              {"C", "RESI", 30}});
  const QImage pie = image("QGr05T.RPT");
  // The first pie stands in the left half.
  const QImage first = pie.copy(0, 0, pie.width() / 2, pie.height());
  const int a = pixelsOf(first, kBlue);
  const int c = pixelsOf(first, kOrange);
  EXPECT_GT(a, 500);
  EXPECT_NEAR(double(c) / a, 3.0, 0.3) << "slices follow the values";
  EXPECT_EQ(barLengths(pie, kBlue, true).size(), 2) << "two pies side by side";
  // The same points as bars: one colour per series.
  const QImage bars = image("QGr11N.RPT");
  EXPECT_EQ(barLengths(bars, kBlue, true).size(), 4);
  EXPECT_EQ(barLengths(bars, kRed, true).size(), 3) << "RESI has no D";
  EXPECT_EQ(pixelsOf(bars, kOrange), 0);
  const QList<int> stacked = barLengths(image("QGr15P.RPT"), kRed, true);
  ASSERT_EQ(stacked.size(), 3);
  EXPECT_GT(stacked[0], stacked[2]) << "RESI is a larger part of A than of C";
}

TEST_F(ChartEngine, FormulasGiveTheTitleAndAxisTextsOfAPdf) {
  writeTable({{"001.ROSSI", "IMPORTO", 120.5}, {"002.BIANCHI", "IMPORTO", 80}});
  ASSERT_EQ(drawTo("QGr01N.RPT", file("grafico.pdf"),
                   {{"Titolo", "'Vendite d''autunno'"},
                    {"DescrizioneX", "'Asse X: CLIENTE'"},
                    {"DescrizioneY", "' '"}}),
            "");
  const QString text = pdftools::text(file("grafico.pdf"));
  for (const char* shown : {"Vendite d'autunno", "Asse X: CLIENTE", "001.ROSSI", "IMPORTO"})
    EXPECT_TRUE(text.contains(shown)) << shown << " missing from:\n" << text.toStdString();
  EXPECT_FALSE(text.contains("Senza titolo"));
  EXPECT_EQ(pdftools::pages(file("grafico.pdf")), 1);
}

TEST_F(ChartEngine, AJobFailsSayingWhy) {
  PrintEngine engine;
  EXPECT_EQ(engine.openPrintJob(report("QGr99X.RPT")), 0);
  EXPECT_TRUE(engine.reportMissing());
  testfiles::writeFile(report("ROTTO.RPT"), "orbelan-report 1\nreport kind=chart\n");
  EXPECT_EQ(engine.openPrintJob(report("ROTTO.RPT")), 0);
  EXPECT_FALSE(engine.reportMissing());
  EXPECT_TRUE(engine.lastError().endsWith("manca il record chart"))
      << engine.lastError().toStdString();

  const int job = engine.openPrintJob(report("QGr01N.RPT"));
  ASSERT_GT(job, 0);
  EXPECT_FALSE(engine.setFormula(job, "Sottotitolo", "'x'"));
  EXPECT_FALSE(engine.setFormula(job, "Titolo", "Vendite"));
  EXPECT_FALSE(engine.setNthTableLocation(job, 0, "C:\\" + QString(252, 'x') + "\\GRAFTMP.DB"));
  EXPECT_FALSE(engine.startPrintJob(job, false)) << "no destination";
  ASSERT_TRUE(engine.outputToFile(job, file("vuoto.png")));
  EXPECT_FALSE(engine.startPrintJob(job, false)) << "no table";
  ASSERT_TRUE(engine.setNthTableLocation(job, 0, tableLocation()));
  EXPECT_FALSE(engine.startPrintJob(job, false)) << "the table does not exist";
  EXPECT_FALSE(QFile::exists(file("vuoto.png")));
  EXPECT_TRUE(engine.closePrintJob(job));
  EXPECT_FALSE(engine.closePrintJob(job));
}

TEST_F(ChartEngine, TheWindowShowsTheChartAndSavesIt) {
  writeTable({{"A", "QTA", 1}, {"B", "QTA", 2}});
  PrintEngine engine;
  const int job = engine.openPrintJob(report("QGr03L.RPT"));
  ASSERT_GT(job, 0);
  ASSERT_TRUE(engine.setNthTableLocation(job, 0, tableLocation()));
  ASSERT_TRUE(engine.setFormula(job, "Titolo", "'Senza titolo '"));
  ASSERT_TRUE(engine.outputToWindow(job, "STAMPA GRAFICO", 80, 100, 550, 350, 0, nullptr));
  ASSERT_TRUE(engine.startPrintJob(job, false));
  ASSERT_TRUE(engine.closePrintJob(job));
  ASSERT_EQ(engine.windows().size(), 1);
  ChartWindow* window = engine.windows().front();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), "STAMPA GRAFICO");
  EXPECT_EQ(window->size(), QSize(550, 350));
  EXPECT_EQ(window->view()->chart()->title(), "Senza titolo");
  // The chart was read when the job started: the table may change.
  writeTable({});
  ASSERT_TRUE(window->save(file("finestra.png")));
  EXPECT_GT(pixelsNear(QImage(file("finestra.png")), kBlue), 200) << "the line is drawn";
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(engine.windows().isEmpty());
}
