#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "DemoReports.h"
#include "platform/crystal/Formula.h"
#include "platform/crystal/ReportFile.h"

using namespace platform::crystal;

namespace {

QString problemOf(const QByteArray& text) {
  ReportDefinition report;
  QString error;
  if (parseReportFile(text, report, error)) return QStringLiteral("<valid>");
  return error;
}

const QByteArray kHead = "orbelan-report 1\nreport kind=chart\n";

}  // namespace

TEST(ReportFile, ReadsTheChartItsFormulasAndColours) {
  ReportDefinition report;
  QString error;
  ASSERT_TRUE(parseReportFile("\xEF\xBB\xBF# commento\r\n" + kHead +
                                  "chart type=percent orientation=vertical look=3d\r\n"
                                  "colors list=#ff0000,#00FF00\n"
                                  "formula name=Titolo text=\"'Senza titolo '\"\n",
                              report, error))
      << error.toStdString();
  EXPECT_EQ(report.chart.type, ChartType::Percent);
  EXPECT_EQ(report.chart.orientation, Orientation::Vertical);
  EXPECT_TRUE(report.chart.look3d);
  EXPECT_EQ(report.chart.color(3), QColor(0, 255, 0)) << "colours repeat";
  EXPECT_TRUE(report.definesFormula("TITOLO"));
  EXPECT_FALSE(report.definesFormula("DescrizioneX"));
}

TEST(ReportFile, AMistypedFileIsRefusedNamingTheLine) {
  EXPECT_EQ(problemOf(""), "il file è vuoto");
  EXPECT_EQ(problemOf("orbelan-label 1\n"),
            "riga 1: il file non comincia con \"orbelan-report 1\"");
  EXPECT_EQ(problemOf(kHead), "manca il record chart");
  EXPECT_EQ(problemOf("orbelan-report 1\nchart type=bar\n"),
            "riga 2: manca il record report prima di chart");
  EXPECT_EQ(problemOf("orbelan-report 1\nreport kind=table\nchart type=bar\n"),
            "riga 2: kind deve essere chart o text invece di \"table\"");
  EXPECT_EQ(problemOf("orbelan-report 1\nreport kind=text\nchart type=bar\n"),
            "riga 3: record sconosciuto chart");
  EXPECT_EQ(problemOf(kHead + "chart type=torta\n"),
            "riga 3: type deve essere bar o stacked o percent o line o area o pie invece di "
            "\"torta\"");
  EXPECT_EQ(problemOf(kHead + "chart orientation=vertical\n"), "riga 3: manca type");
  EXPECT_EQ(problemOf(kHead + "chart type=bar colour=red\n"), "riga 3: chiave sconosciuta colour");
  EXPECT_EQ(problemOf(kHead + "chart type=bar\ncolors list=#12345,#00ff00\n"),
            "riga 4: colore non valido \"#12345\" (atteso #rrggbb)");
  EXPECT_EQ(problemOf(kHead + "chart type=bar\nformula name=Titolo text=Titolo\n"),
            "riga 4: la formula Titolo non è un testo tra apici");
  EXPECT_EQ(problemOf(kHead + "chart type=bar\nformula name=A text=\"'a'\"\n"
                              "formula name=a text=\"'b'\"\n"),
            "riga 5: formula a ripetuta");
  EXPECT_EQ(problemOf(kHead + "chart type=bar\nformula name=\"A text='a'\n"),
            "riga 4: virgolette non chiuse nel valore di name");
}

TEST(ReportFile, FormulasAreTextConstants) {
  EXPECT_EQ(formulaValue("'Senza titolo '"), "Senza titolo ");
  EXPECT_EQ(formulaValue(" \"Asse \"\"X\"\"\" "), "Asse \"X\"");
  EXPECT_EQ(formulaValue("'Vendite ' + \"2026\""), "Vendite 2026");
  EXPECT_EQ(formulaValue(formulaConstant("L'abito d'autunno")), "L'abito d'autunno");
  for (const char* wrong : {"", "Titolo", "'aperto", "'a' 'b'", "'a' +", "'a' - 'b'"})
    EXPECT_EQ(formulaValue(wrong), std::nullopt) << wrong;
}

TEST(ReportFile, TheShippedChartReportsAreValid) {
  QTemporaryDir dir;
  const QStringList written = host::installDemoReports(dir.path());
  EXPECT_EQ(written.size(), 28);
  for (const QString& file : written) {
    ReportDefinition report;
    QString error;
    EXPECT_TRUE(loadReportFile(file, report, error)) << error.toStdString();
    if (file.endsWith("TEXT.rpt")) {
      EXPECT_EQ(report.kind, ReportKind::Text);
      continue;
    }
    EXPECT_EQ(report.kind, ReportKind::Chart) << file.toStdString();
    for (const char* formula : {"Titolo", "DescrizioneX", "DescrizioneY", "DescrizioneZ"})
      EXPECT_TRUE(report.definesFormula(formula)) << file.toStdString() << " " << formula;
  }
  EXPECT_TRUE(host::installDemoReports(dir.path()).isEmpty()) << "present files are kept";
}
