#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "DemoLabels.h"
#include "LabelRecords.h"
#include "PdfTools.h"
#include "platform/reports/Barcode.h"
#include "platform/reports/LabelEngine.h"
#include "platform/reports/LabelProjectFile.h"

using namespace platform::reports;

namespace {

class LabelRendering : public ::testing::Test {
 protected:
  void SetUp() override { host::installDemoLabelProjects(dir_.filePath("Report")); }
  QString project(const QString& name) const { return dir_.filePath("Report/" + name); }
  QString file(const QString& name) const { return dir_.filePath(name); }

  QTemporaryDir dir_;
};

TEST_F(LabelRendering, DemoLabelsPrintTheirTextsAndBarcodesThatScanBack) {
  LabelEngine engine;
  LabelRecords feed;
  feed.records = {demoLabel("01010010462403040001", "8012345000012"),
                  demoLabel("ABC-123/x", "801234500002")};
  feed.attach(engine);
  ASSERT_EQ(engine.printToPdf(0, project("ETICHETTA.LBL"), file("standard.pdf")), Completed)
      << engine.lastError().toStdString();
  EXPECT_TRUE(engine.lastProblems().isEmpty()) << engine.lastProblems().join('\n').toStdString();

  const QString text = pdftools::text(file("standard.pdf"));
  for (const char* shown : {"GIACCA BLAZER", "BLU NOTTE", "MOD.0101 VAR.001 TG.46 100% LANA",
                            "0117", "01010010462403040001", "ABC-123/x"})
    EXPECT_TRUE(text.contains(shown)) << shown << " missing from:\n" << text.toStdString();
  EXPECT_EQ(pdftools::pages(file("standard.pdf")), 2);
  const QSizeF page = pdftools::pageSizeMm(file("standard.pdf"));
  EXPECT_NEAR(page.width(), 80, 0.5);
  EXPECT_NEAR(page.height(), 50, 0.5);
  EXPECT_EQ(pdftools::barcodes(file("standard.pdf"), 1), QStringList{"01010010462403040001"});
  EXPECT_EQ(pdftools::barcodes(file("standard.pdf"), 2), QStringList{"ABC-123/x"});

  // The EAN label: twelve digits get their check digit, thirteen are kept.
  feed.index = 0;
  ASSERT_EQ(engine.printToPdf(0, project("ETICHETTA_EAN.LBL"), file("ean.pdf")), Completed);
  EXPECT_EQ(pdftools::barcodes(file("ean.pdf"), 1), QStringList{"8012345000012"});
  EXPECT_EQ(pdftools::barcodes(file("ean.pdf"), 2), QStringList{"8012345000029"});
  EXPECT_TRUE(pdftools::text(file("ean.pdf")).contains("01010010462403040001"));
}

TEST_F(LabelRendering, ValuesABarcodeCannotHoldAreShownOnTheLabelAndReported) {
  LabelEngine engine;
  LabelRecords feed;
  feed.records = {demoLabel("X1", "8012345000013"), demoLabel("X2", "12345"), demoLabel("X3", "")};
  feed.attach(engine);
  ASSERT_EQ(engine.printToPdf(0, project("ETICHETTA_EAN.LBL"), file("bad.pdf")), Completed);
  // A wrong check digit and a short code are reported once each; an empty
  // code prints no barcode and is no problem.
  ASSERT_EQ(engine.lastProblems().size(), 2) << engine.lastProblems().join('\n').toStdString();
  EXPECT_TRUE(engine.lastProblems().at(0).contains("8012345000013"));
  EXPECT_TRUE(engine.lastProblems().at(1).contains("12345"));
  EXPECT_TRUE(pdftools::text(file("bad.pdf")).contains("8012345000013 ?"));
  for (int page = 1; page <= 3; ++page)
    EXPECT_TRUE(pdftools::barcodes(file("bad.pdf"), page).isEmpty());
}

TEST(BarcodeLayout, TheSymbolFillsItsBoxWithQuietZonesAndNeverLeavesIt) {
  // "0101001046" in Code 128: 90 modules of bars between quiet zones of 10.
  constexpr double kModules = 110, kBarModules = 90;
  const struct {
    QSizeF box;
    bool widthBound;  // else the height limits the symbol
  } cases[] = {{{70, 25}, true}, {{20, 60}, true}, {{70, 4}, false}};
  for (const auto& [box, widthBound] : cases) {
    SCOPED_TRACE(QString("%1 x %2").arg(box.width()).arg(box.height()).toStdString());
    LabelFont font;
    font.points = 72;  // larger than the room left: zint's size wins
    const BarcodeDrawing drawing = layoutBarcode(Symbology::Code128, "0101001046", true, box, font);
    ASSERT_TRUE(drawing.error.isEmpty());
    QRectF used;
    for (const QRectF& bar : drawing.bars) used |= bar;
    EXPECT_TRUE(QRectF(QPointF(0, 0), box).adjusted(-0.01, -0.01, 0.01, 0.01).contains(used));
    EXPECT_NEAR(used.center().x(), box.width() / 2, 0.01);
    ASSERT_EQ(drawing.texts.size(), 1);
    const BarcodeText& text = drawing.texts.first();
    EXPECT_EQ(text.text, "0101001046");
    EXPECT_GT(text.anchor.y(), used.bottom());
    EXPECT_LE(text.anchor.y(), box.height() + 0.01);
    // The bars grow to the top of the box, the text sits at its bottom.
    EXPECT_NEAR(used.top(), 0, 0.01);
    EXPECT_GT(text.anchor.y(), box.height() * 0.85);
    if (widthBound)
      EXPECT_NEAR(used.width(), box.width() * kBarModules / kModules, 0.01);
    else
      EXPECT_LT(used.width(), box.width() * kBarModules / kModules * 0.8);
  }
  // The object's font size caps the human-readable text.
  LabelFont small;
  small.points = 6;
  const BarcodeDrawing capped =
      layoutBarcode(Symbology::Code128, "0101001046", true, {70, 25}, small);
  EXPECT_NEAR(capped.texts.first().size, 6 * 25.4 / 72, 0.01);

  // EAN-13 text comes in zint's three groups.
  const BarcodeDrawing ean = layoutBarcode(Symbology::Ean13, "801234500001", true, {50, 25}, {});
  QStringList groups;
  for (const BarcodeText& text : ean.texts) groups << text.text;
  EXPECT_EQ(groups.join(""), "8012345000012");
  EXPECT_FALSE(layoutBarcode(Symbology::Ean13, "80123450000A", true, {50, 25}, {}).error.isEmpty());
}

}  // namespace
