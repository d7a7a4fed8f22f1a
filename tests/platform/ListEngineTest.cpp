#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "PdfTools.h"
#include "core/Cp1252.h"
#include "platform/reports/ListEngine.h"
#include "platform/reports/ListExpression.h"
#include "platform/reports/ListLayoutEditor.h"
#include "platform/reports/ListLayoutFile.h"
#include "support/ScriptedUi.h"

namespace {

using namespace platform::reports;

const QString kQuote = QString(QChar(0x00A8));

// A list project in the vocabulary of the generated layouts: a page number
// and a title object, a detail line, a totals line and a header.
QStringList projectLines(bool landscape = false) {
  QStringList lines = {
      "[List description]",
      "[Description]",
      " TextQuote.Start=168",
      "[Layout]",
      landscape ? " xSize=296300" : " xSize=210000",
      landscape ? " ySize=210000" : " ySize=296300",
      QStringLiteral(" Orientation=%1").arg(landscape ? 2 : 1),
      " DefFont={(0,0,0),12,-16,0,0,0,400,0,0,0,0,0,0,0,0,Arial}",
      "[Layer]",
      " Condition=",
      " LayerID=0",
      "[Layer]",
      " Condition=Page() = 1",
      " LayerID=1",
      "[Layer]",
      " Condition=Page() <> 1",
      " LayerID=2",
      "[Object]",
      " ObjectName=Elenco",
      landscape ? " Rect=(11600,27400,269400,193600)" : " Rect=(11600,27400,193600,269400)",
      " LayerID=0",
      " Font={(0,0,0),8,-16,0,0,0,400,0,0,0,0,0,0,0,0,Arial}",
      " [ColumnsX]",
      "  {",
      "  bStripes=FALSE",
      "  }",
      " [Columns]",
      "  {",
      "  ,Width=40000,Separator=TRUE,SepWidth=0,Expression=TRUE,Space=(1000,500,1000,500),"
      "bRTF=FALSE,Text=" +
          kQuote + "CODICE" + kQuote,
      "  ,Width=30000,Align=2,Separator=TRUE,SepWidth=0,Expression=TRUE,Space=(1000,500,1000,"
      "500),bRTF=FALSE,Text=" +
          kQuote + "Fstr$(IMPORTO,\"---,---,---,--&.##\",1)" + kQuote,
      "  LCondition=TipoRiga='DETTAGLI'",
      "  }",
      " [Columns1]",
      "  {",
      "  ,Width=40000,Expression=TRUE,Font={(0,0,0),8,-11,0,0,0,700,0,0,0,0,3,2,1,34,Arial},"
      "Space=(1000,500,1000,500),bRTF=FALSE,Text=" +
          kQuote + "\"Totale\"" + kQuote,
      "  ,Width=30000,Align=2,Expression=TRUE,Space=(1000,500,1000,500),bRTF=FALSE,Text=" + kQuote +
          "Fstr$(Totale.IMPORTO,\"---,---,---,--&.##\",1)" + kQuote,
      "  LCondition=TipoRiga='TOTALI'",
      "  }",
      " [HeaderColumns]",
      "  {",
      "  ,Width=40000,Expression=TRUE,Space=(1000,500,1000,500),bRTF=FALSE,Text=" + kQuote +
          "\"CODICE\"" + kQuote,
      "  ,Width=30000,Expression=TRUE,Space=(1000,500,1000,500),bRTF=FALSE,Text=" + kQuote +
          "\"IMPORTO\"" + kQuote,
      "  LCondition=",
      "  }",
      "[Object]",
      " ObjectName=Testo",
      " Rect=(161600,276700,188500,284100)",
      " LayerID=0",
      " [Lines]",
      "  {",
      "  ,OptimSpaces=TRUE,Text=" + kQuote + "\"Pagina n\u00B0 \"+str$(Page(),2,0)" + kQuote,
      "  }",
      "[Object]",
      " ObjectName=Testo",
      " Rect=(12200,7900,194400,13400)",
      " LayerID=1",
      " [Lines]",
      "  {",
      "  ,OptimSpaces=TRUE,Text=" + kQuote + "Titolo" + kQuote,
      "  }",
      "[UserVariables]"};
  return lines;
}

class ListEngineTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString write(const QStringList& lines, const QString& name = QStringLiteral("elenco.lst")) {
    const QString path = dir_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(listLayoutBytes(lines));
    return path;
  }
  void defineRecord(ListEngine& engine, const QString& code, double amount, double total,
                    const QString& kind = QStringLiteral("DETTAGLI")) {
    engine.LlDefineFieldStart();
    engine.LlDefineFieldExt("CODICE", code, kListText);
    engine.LlDefineFieldExt("IMPORTO", QString::number(amount, 'f', 2), kListNumeric);
    engine.LlDefineFieldExt("Totale.IMPORTO", QString::number(total, 'f', 2), kListNumeric);
    engine.LlDefineFieldExt("TipoRiga", kind, kListText);
  }
  void defineVariables(ListEngine& engine) {
    engine.LlDefineVariableStart();
    engine.LlDefineVariableExt("Titolo", "Elenco articoli", kListText);
  }

  QTemporaryDir dir_;
  ScriptedPrompter prompter_;
  ScopedPrompter installed_{prompter_};
};

TEST_F(ListEngineTest, ExpressionsMasksAndConditions) {
  EXPECT_EQ(formatWithMask(1234567.891, "---,---,---,--&.##"), "1,234,567.89");
  EXPECT_EQ(formatWithMask(0, "---,---,---,--&.##"), "0.00");
  EXPECT_EQ(formatWithMask(0, "---,---,---,---"), "");
  EXPECT_EQ(formatWithMask(-1234.5, "---,---,---,---"), "-1,235");
  EXPECT_EQ(formatWithMask(12.3456, "---,---,---,--&.###"), "12.346");
  EXPECT_EQ(formatWithMask(5, "--&"), "5");
  EXPECT_EQ(formatWithMask(123456, "--&"), "123456") << "digits beyond the mask are kept";

  const QHash<QString, ListValue> values = {{"tiporiga", ListValue::ofText("TOTALI")},
                                            {"totale.qta", ListValue::ofNumber(42)}};
  const ListScope scope{[&values](const QString& name) {
                          const auto it = values.constFind(name.toLower());
                          return it == values.constEnd() ? nullptr : &*it;
                        },
                        3};
  const auto eval = [&scope](const QString& text) {
    ListExpression expression;
    QString error;
    EXPECT_TRUE(expression.compile(text, error)) << error.toStdString();
    return expression.evaluate(scope).toText();
  };
  EXPECT_EQ(eval("\"Pagina n\u00B0 \"+str$(Page(),2,0)"), "Pagina n\u00B0  3");
  EXPECT_EQ(eval("TipoRiga='TOTALI'"), "True");
  EXPECT_EQ(eval("TipoRiga='DETTAGLI'"), "False");
  EXPECT_EQ(eval("Page() <> 1 and Totale.QTA > 40"), "True");
  EXPECT_EQ(eval("Fstr$(Totale.QTA,\"---,---,---,---\",1)"), "42");
  ListExpression broken;
  QString error;
  EXPECT_FALSE(broken.compile("Fstr$(A,", error));
  EXPECT_FALSE(broken.compile("Sconosciuta(1)", error));
}

TEST_F(ListEngineTest, LayoutsAreReadAndBadOnesRefused) {
  ListLayout layout;
  QString error;
  ASSERT_TRUE(parseListLayout(listLayoutBytes(projectLines()), layout, error))
      << error.toStdString();
  EXPECT_DOUBLE_EQ(layout.page.width(), 210);
  EXPECT_EQ(layout.table.rect, QRectF(QPointF(11.6, 27.4), QPointF(193.6, 269.4)));
  ASSERT_EQ(layout.table.lines.size(), 2);
  EXPECT_EQ(layout.table.lines[0].condition, "TipoRiga='DETTAGLI'");
  EXPECT_EQ(layout.table.lines[0].columns[1].align, ListAlign::Right);
  EXPECT_DOUBLE_EQ(layout.table.lines[0].columns[0].width, 40);
  EXPECT_TRUE(layout.table.lines[1].columns[0].font.bold);
  EXPECT_EQ(layout.table.header[0].columns[0].expression, "\"CODICE\"");
  ASSERT_EQ(layout.texts.size(), 2);
  EXPECT_EQ(layout.texts[1].layer, 1);
  EXPECT_EQ(layout.layerConditions.value(2), "Page() <> 1");
  EXPECT_EQ(layout.defaultFont.pointSize, 12);

  QStringList noList = projectLines();
  noList.removeAt(noList.indexOf(" [Columns]"));
  EXPECT_FALSE(
      parseListLayout(listLayoutBytes(QStringList{"[Layout]", " xSize=1000"}), layout, error));
  QStringList badRect = projectLines();
  badRect.replace(badRect.indexOf(" Rect=(11600,27400,193600,269400)"), " Rect=(1,2,3)");
  EXPECT_FALSE(parseListLayout(listLayoutBytes(badRect), layout, error));
  QStringList hugePage = projectLines();
  hugePage.replace(hugePage.indexOf(" xSize=210000"), " xSize=4e50");
  EXPECT_FALSE(parseListLayout(listLayoutBytes(hugePage), layout, error));

  // Numbers out of any sensible range are held to it, never cast blindly.
  ListFont font;
  ASSERT_TRUE(parseListFont("{(4e50,-4e50,nan),8,-16,0,0,0,400,0,0,0,0,0,0,0,0,Arial}", font));
  EXPECT_EQ(font.colour, QColor(255, 0, 0));
  const ListScope noNames{[](const QString&) { return nullptr; }, 1};
  ListExpression outOfRange;
  const QString huge(40, '9');
  ASSERT_TRUE(outOfRange.compile(QString("str$(1,%1,-%1)+left$(\"ab\",%1*%1)").arg(huge), error))
      << error.toStdString();
  EXPECT_EQ(outOfRange.evaluate(noNames).toText().trimmed(), "1ab");

  // The engine's start: a missing file, a file that is no list, a list that
  // names a field nobody defined.
  ListEngine engine;
  engine.setPdfOutput(dir_.filePath("out.pdf"));
  defineVariables(engine);
  defineRecord(engine, "A", 1, 1);
  EXPECT_EQ(
      engine.LlPrintWithBoxStart(kListProjectType, dir_.filePath("manca.lst"), 0, 0, nullptr, {}),
      kListProjectMissing);
  EXPECT_EQ(engine.LlPrintWithBoxStart(kListProjectType, write({"[Layout]"}, "vuoto.lst"), 0, 0,
                                       nullptr, {}),
            kListProjectInvalid);
  engine.LlDefineFieldStart();
  engine.LlDefineFieldExt("CODICE", "A", kListText);
  engine.LlDefineFieldExt("IMPORTO", "1", kListNumeric);
  engine.LlDefineFieldExt("TipoRiga", "DETTAGLI", kListText);
  EXPECT_EQ(engine.LlPrintWithBoxStart(kListProjectType, write(projectLines()), 0, 0, nullptr, {}),
            kListProjectInvalid)
      << "Totale.IMPORTO is not defined";
  EXPECT_FALSE(QFile::exists(dir_.filePath("out.pdf")));
}

TEST_F(ListEngineTest, PagesFillUpAndThePdfHoldsHeaderRowsTotalsAndPageNumbers) {
  ListEngine engine;
  const QString pdf = dir_.filePath("elenco.pdf");
  engine.setPdfOutput(pdf);
  defineVariables(engine);
  defineRecord(engine, "A", 0, 0);
  ASSERT_EQ(engine.LlPrintWithBoxStart(kListProjectType, write(projectLines()), kListPrintPreview,
                                       2, nullptr, "Stampa in corso..."),
            0)
      << engine.lastError().toStdString();
  ASSERT_EQ(engine.LlPrintSetOption(kListOptionCopies, kListHideCopies), 0);
  ASSERT_EQ(engine.LlPrintOptionsDialog(nullptr, "Configurazione parametri di stampa"), 0);
  ASSERT_EQ(engine.LlPrint(), 0);
  double total = 0;
  int pageFull = 0;
  for (int i = 1; i <= 120; ++i) {
    total += i * 1000.5;
    defineRecord(engine, QStringLiteral("ART%1").arg(i, 3, 10, QLatin1Char('0')), i * 1000.5,
                 total);
    int result = engine.LlPrintFields();
    while (result == kListPageFull) {
      ++pageFull;
      ASSERT_EQ(engine.LlPrint(), 0);
      result = engine.LlPrintFields();
    }
    ASSERT_EQ(result, 0);
  }
  defineRecord(engine, "", 0, total, "TOTALI");
  ASSERT_EQ(engine.LlPrintFields(), 0);
  ASSERT_EQ(engine.LlPrintFieldsEnd(), 0);
  ASSERT_EQ(engine.LlPrintEnd(0), 0) << engine.lastError().toStdString();
  EXPECT_GE(pageFull, 1) << "120 lines do not fit on one page";
  EXPECT_EQ(engine.pagesPrinted(), pageFull + 1);
  EXPECT_EQ(pdftools::pages(pdf), pageFull + 1);

  const QString text = pdftools::text(pdf);
  EXPECT_TRUE(text.contains("CODICE")) << text.left(400).toStdString();
  EXPECT_TRUE(text.contains("IMPORTO"));
  EXPECT_TRUE(text.contains("ART001"));
  EXPECT_TRUE(text.contains("ART120"));
  EXPECT_TRUE(text.contains("1,000.50"));
  EXPECT_TRUE(text.contains("Totale"));
  EXPECT_TRUE(text.contains("7,263,630.00")) << "the totals line";
  EXPECT_EQ(text.count("Elenco articoli"), 1) << "the title stands on the first page's layer";
  EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("Pagina n\u00B0\\s+\\d"))), pageFull + 1);
  EXPECT_EQ(text.count("CODICE"), pageFull + 1) << "the header on every page";
  const QSizeF size = pdftools::pageSizeMm(pdf);
  EXPECT_NEAR(size.width(), 210, 1);
}

TEST_F(ListEngineTest, DateValuesCountDaysFrom1899AndNoneBeyondTheCalendar) {
  const auto printedTitle = [this](const QString& days) {
    ListEngine engine;
    const QString pdf = dir_.filePath("data.pdf");
    engine.setPdfOutput(pdf);
    engine.LlDefineVariableStart();
    engine.LlDefineVariableExt("Titolo", days, kListDate);
    defineRecord(engine, "A", 1, 1);
    EXPECT_EQ(
        engine.LlPrintWithBoxStart(kListProjectType, write(projectLines()), 0, 0, nullptr, {}), 0);
    EXPECT_EQ(engine.LlPrint(), 0);
    EXPECT_EQ(engine.LlPrintFields(), 0);
    EXPECT_EQ(engine.LlPrintEnd(0), 0) << engine.lastError().toStdString();
    return pdftools::text(pdf);
  };
  EXPECT_TRUE(printedTitle("45000").contains("15/03/2023"));
  for (const char* beyond : {"1e300", "-1e300", "nan"}) {
    const QString text = printedTitle(beyond);
    EXPECT_TRUE(text.contains("CODICE")) << beyond;
    EXPECT_FALSE(text.contains('/')) << beyond << ": " << text.toStdString();
  }
}

TEST_F(ListEngineTest, EditorChangesWidthsTitlesFontAndOrientationAndSaves) {
  const QString path = write(projectLines());
  ListLayout layout;
  QStringList lines;
  QString error;
  ASSERT_TRUE(loadListLayout(path, layout, lines, error));
  QHash<QString, ListValue> fields = {{"codice", ListValue::ofText("ART001")},
                                      {"importo", ListValue::ofNumber(12.5)},
                                      {"totale.importo", ListValue::ofNumber(12.5)},
                                      {"tiporiga", ListValue::ofText("DETTAGLI")}};
  ListLayoutEditor editor(nullptr, "Design Lists", path, lines,
                          {{"titolo", ListValue::ofText("Prova")}}, fields);
  ASSERT_EQ(editor.columnCount(), 2);
  const QImage before = editor.previewImage(300);
  ASSERT_FALSE(before.isNull());
  editor.setColumnWidth(0, 60);
  editor.setColumnTitle(1, "Importo euro");
  ListFont font;
  font.name = "Courier New";
  font.pointSize = 10;
  editor.setListFont(font);
  editor.setLandscape(true);
  EXPECT_NE(editor.previewImage(300), before);
  ASSERT_TRUE(editor.save());

  ASSERT_TRUE(loadListLayout(path, layout, lines, error)) << error.toStdString();
  EXPECT_DOUBLE_EQ(layout.table.header[0].columns[0].width, 60);
  EXPECT_DOUBLE_EQ(layout.table.lines[0].columns[0].width, 60) << "every line keeps the column";
  EXPECT_DOUBLE_EQ(layout.table.lines[1].columns[0].width, 60);
  EXPECT_EQ(layout.table.header[0].columns[1].expression, "\"Importo euro\"");
  EXPECT_EQ(layout.table.font.name, "Courier New");
  EXPECT_GT(layout.page.width(), layout.page.height());
  EXPECT_TRUE(layout.landscape);
  EXPECT_EQ(layout.table.rect, QRectF(QPointF(11.6, 27.4), QPointF(269.4, 193.6)));
  EXPECT_LT(layout.texts[0].rect.bottom(), 210) << "the page number stays on the page";
}

}  // namespace
