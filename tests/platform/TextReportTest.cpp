#include <gtest/gtest.h>

#include <QFile>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>

#include "DemoReports.h"
#include "PdfTools.h"
#include "core/Paths.h"
#include "platform/crystal/PrintEngine.h"
#include "platform/crystal/ReportFile.h"
#include "platform/crystal/TextReport.h"
#include "platform/crystal/TextReportWindow.h"
#include "platform/localstore/LocalTable.h"

using namespace platform::crystal;
using platform::localstore::ColumnType;
using platform::localstore::LocalTable;

namespace {

struct Line {
  int page;
  double number;
  QString text;
};

class TextReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    host::installDemoReports(dir_.filePath("report"));
  }

  QString stored() const { return core::storedPath(dir_.path()); }
  QString pagesLocation() const { return stored() + "\\TESTATT.DB"; }
  QString linesLocation() const { return stored() + "\\RIGHET.DB"; }

  // The tables as the text print generator leaves them; rows in any order.
  void writeTables(const QList<int>& pages, const QList<Line>& lines) {
    LocalTable testate(stored(), "TESTATT.DB");
    testate.setColumns({{"NumeroPagina", ColumnType::SmallInt}});
    ASSERT_TRUE(testate.create()) << testate.lastError().toStdString();
    ASSERT_TRUE(testate.open());
    for (int page : pages) ASSERT_TRUE(testate.append({page}));
    LocalTable righe(stored(), "RIGHET.DB");
    righe.setColumns({{"NumeroPagina", ColumnType::SmallInt},
                      {"NumeroRiga", ColumnType::Float},
                      {"TipoRiga", ColumnType::SmallInt},
                      {"Descrizione", ColumnType::Text, 136}});
    ASSERT_TRUE(righe.create()) << righe.lastError().toStdString();
    ASSERT_TRUE(righe.open());
    for (const Line& line : lines)
      ASSERT_TRUE(righe.append({line.page, line.number, QVariant(), line.text}));
  }

  // Runs TEXT.rpt on the tables into `output`; the engine's error on failure.
  QString printTo(const QString& output, bool bothTables = true) {
    PrintEngine engine;
    const int job = engine.openPrintJob(dir_.filePath("report/TEXT.rpt"));
    if (job == 0) return engine.lastError();
    bool done = engine.setNthTableLocation(job, 0, pagesLocation());
    if (bothTables) done = done && engine.setNthTableLocation(job, 1, linesLocation());
    done = done && engine.outputToFile(job, output) && engine.startPrintJob(job, true);
    const QString error = done ? QString() : engine.lastError();
    EXPECT_TRUE(engine.closePrintJob(job));
    return error;
  }

  QTemporaryDir dir_;
};

}  // namespace

TEST(TextReportFile, ReadsThePageAndTheFontAndRefusesWhatDoesNotBelong) {
  ReportDefinition report;
  QString error;
  ASSERT_TRUE(
      parseReportFile("orbelan-report 1\nreport kind=text\n"
                      "page size=A3 orientation=landscape margins=5,6,7,8\n"
                      "font family=\"DejaVu Sans Mono\" size=9.5\n",
                      report, error))
      << error.toStdString();
  EXPECT_EQ(report.kind, ReportKind::Text);
  EXPECT_EQ(report.text.pageSize, QPageSize::A3);
  EXPECT_EQ(report.text.orientation, QPageLayout::Landscape);
  EXPECT_EQ(report.text.margins, QMarginsF(5, 6, 7, 8));
  EXPECT_EQ(report.text.fontFamily, "DejaVu Sans Mono");
  EXPECT_DOUBLE_EQ(report.text.pointSize, 9.5);

  ASSERT_TRUE(parseReportFile("orbelan-report 1\nreport kind=text\n", report, error));
  EXPECT_EQ(report.text.pageSize, QPageSize::A4) << "A4 when not said";
  EXPECT_EQ(report.text.orientation, QPageLayout::Portrait);

  for (const char* wrong :
       {"page size=B7", "page margins=1,2,3", "page margins=a,b,c,d", "font family=Mono",
        "font family=Mono size=200", "font family=Mono size=nan", "page margins=1,nan,3,4",
        "chart type=bar", "page size=A4\npage size=A4"}) {
    EXPECT_FALSE(
        parseReportFile(QByteArray("orbelan-report 1\nreport kind=text\n") + wrong, report, error))
        << wrong;
    EXPECT_TRUE(error.startsWith("riga ")) << error.toStdString();
  }
}

TEST_F(TextReportTest, ReadsThePagesWithTheirLinesInOrder) {
  writeTables({2, 1}, {{2, 1, "seconda uno"},
                       {1, 2, "prima due"},
                       {1, 1, "prima uno"},
                       {2, 0.5, "seconda zero"},
                       {9, 1, "di nessuna pagina"}});
  QList<TextPage> pages;
  QString error;
  ASSERT_TRUE(readTextPages(pagesLocation(), linesLocation(), pages, error)) << error.toStdString();
  ASSERT_EQ(pages.size(), 2);
  EXPECT_EQ(pages[0].number, 1);
  EXPECT_EQ(pages[0].lines, QStringList({"prima uno", "prima due"}));
  EXPECT_EQ(pages[1].lines, QStringList({"seconda zero", "seconda uno"}));

  EXPECT_FALSE(readTextPages(pagesLocation(), stored() + "\\NOTHERE.DB", pages, error));
  EXPECT_FALSE(error.isEmpty());
}

TEST_F(TextReportTest, PrintsOnePdfPageForEachPageWithItsLines) {
  writeTables({1, 2, 3}, {{1, 1, "INTESTAZIONE PRIMA"},
                          {1, 2, "|ID    |NOTE"},
                          {1, 3, "|1     |alfa"},
                          {2, 1, "INTESTAZIONE SECONDA"},
                          {2, 2, "|2     |beta"},
                          {3, 1, "|3     |gamma"}});
  const QString pdf = dir_.filePath("testo.pdf");
  ASSERT_EQ(printTo(pdf), "");
  EXPECT_EQ(pdftools::pages(pdf), 3);
  EXPECT_NEAR(pdftools::pageSizeMm(pdf).width(), 210, 1) << "A4 portrait";
  EXPECT_NEAR(pdftools::pageSizeMm(pdf).height(), 297, 1);
  const QStringList pages = pdftools::text(pdf).split(QChar('\f'));
  ASSERT_GE(pages.size(), 3);
  EXPECT_TRUE(pages[0].contains("INTESTAZIONE PRIMA")) << pages[0].toStdString();
  EXPECT_LT(pages[0].indexOf("|ID"), pages[0].indexOf("alfa"));
  EXPECT_FALSE(pages[0].contains("beta"));
  EXPECT_TRUE(pages[1].contains("INTESTAZIONE SECONDA"));
  EXPECT_TRUE(pages[1].contains("beta"));
  EXPECT_TRUE(pages[2].contains("gamma"));
  EXPECT_FALSE(pages[2].contains("alfa"));
}

TEST_F(TextReportTest, AFailedPrintLeavesTheOlderFileAndAMissingReportOpensNoJob) {
  writeTables({1}, {{1, 1, "riga"}});
  const QString pdf = dir_.filePath("vecchio.pdf");
  {
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("vecchio");
  }
  EXPECT_NE(printTo(pdf, false), "") << "table 1 not set";
  QFile old(pdf);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "vecchio");

  PrintEngine engine;
  EXPECT_EQ(engine.openPrintJob(dir_.filePath("report/NESSUNO.rpt")), 0);
  EXPECT_TRUE(engine.reportMissing());
}

TEST_F(TextReportTest, TheWindowShowsThePagesUnderItsTitle) {
  writeTables({1, 2}, {{1, 1, "uno"}, {2, 1, "due"}});
  PrintEngine engine;
  const int job = engine.openPrintJob(dir_.filePath("report/TEXT.rpt"));
  ASSERT_NE(job, 0) << engine.lastError().toStdString();
  ASSERT_TRUE(engine.setNthTableLocation(job, 0, pagesLocation()));
  ASSERT_TRUE(engine.setNthTableLocation(job, 1, linesLocation()));
  ASSERT_TRUE(engine.outputToWindow(job, "STAMPA QUERY", kDefaultPlace, kDefaultPlace,
                                    kDefaultPlace, kDefaultPlace, 0, nullptr));
  ASSERT_TRUE(engine.startPrintJob(job, false)) << engine.lastError().toStdString();
  ASSERT_EQ(engine.textWindows().size(), 1);
  TextReportWindow* window = engine.textWindows().first();
  EXPECT_EQ(window->windowTitle(), "STAMPA QUERY");
  window->preview()->updatePreview();
  EXPECT_EQ(window->preview()->pageCount(), 2);
  const QString pdf = dir_.filePath("finestra.pdf");
  EXPECT_TRUE(window->save(pdf));
  EXPECT_EQ(pdftools::pages(pdf), 2);
  EXPECT_TRUE(pdftools::text(pdf).contains("due"));
  window->close();
  EXPECT_TRUE(engine.closePrintJob(job));
}
