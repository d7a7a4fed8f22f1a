#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include "core/IniFile.h"
#include "core/Paths.h"
#include "db/Database.h"
#include "host/HostProgramRun.h"
#include "support/FirebirdFixture.h"
#include "support/HostInstallation.h"

namespace {

const QColor kBlue(0x2f, 0x6d, 0xb5);
const QColor kRed(0xd9, 0x47, 0x2b);

int pixelsOf(const QImage& image, const QColor& color) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == color;
  return count;
}

// Two launches of 900 and 300 pieces, drawn from the demo installation
// with the designer's working folder set.
class QueryChartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db::Database database;
    host_.openArchive(database);
    runStatement(database,
                 "INSERT INTO LANCISTAMPA (ID,DATA,NOTE) VALUES (900,'2024-05-02','grande')");
    runStatement(database,
                 "INSERT INTO LANCISTAMPA (ID,DATA,NOTE) VALUES (300,'2024-05-03','piccolo')");
    QDir().mkpath(host_.native("windows"));
    core::IniFile(core::storedPath(host_.native("windows/vandel.ini")))
        .write("DEMO SRL", "Directory di lavoro", core::storedPath(host_.native("lavoro")));
    QFile rows(host_.native("righe.txt"));
    ASSERT_TRUE(rows.open(QIODevice::WriteOnly));
    rows.write("1\tNOTE\t1\n2\tID\t1\t(ID>=300)\n");
  }

  CommandRun chart(const QString& report, const QString& out, const QStringList& more = {}) {
    return runOrbelan(QStringList{"query", "--user", "1", "--table", "LANCISTAMPA", "--rows",
                                  host_.native("righe.txt"), "--chart", out, "--chart-report",
                                  report, "--chart-x", "NOTE", "--chart-y", "ID"} +
                      more);
  }

  HostInstallation host_;
};

}  // namespace

TEST_F(QueryChartTest, SavesTheChartTheReportDraws) {
  const CommandRun bars = chart("QGr01N.RPT", host_.native("barre.png"),
                                {"--chart-title", "Lanci", "--chart-order", "Originale"});
  ASSERT_EQ(bars.exitCode, 0) << bars.errors.toStdString();
  const QImage barImage(host_.native("barre.png"));
  ASSERT_FALSE(barImage.isNull());
  EXPECT_GT(pixelsOf(barImage, kBlue), 2000);
  EXPECT_EQ(pixelsOf(barImage, kRed), 0) << "one series, one colour";

  const CommandRun pie = chart("QGr05T.RPT", host_.native("torta.png"));
  ASSERT_EQ(pie.exitCode, 0) << pie.errors.toStdString();
  const QImage pieImage(host_.native("torta.png"));
  // "grande" comes first in label order: the larger slice, three times the other.
  EXPECT_NEAR(double(pixelsOf(pieImage, kBlue)) / pixelsOf(pieImage, kRed), 3.0, 0.3);
  EXPECT_TRUE(QFile::exists(host_.native("lavoro/QUERY/RISPTMP/GRAFTMP/GRAFTMP.DB")));
}

TEST_F(QueryChartTest, RefusesWhatCannotBeDrawn) {
  const CommandRun missing = chart("QGr99.RPT", host_.native("x.png"));
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(missing.errors.contains("ATTENZIONE: directory bin errata o CRW non inizializzato"))
      << missing.errors.toStdString();
  const CommandRun column = chart("QGr01N.RPT", host_.native("x.png"), {"--chart-series", "NOTE"});
  EXPECT_EQ(column.exitCode, 1);
  EXPECT_TRUE(column.errors.contains("--chart-series NOTE")) << column.errors.toStdString();
  EXPECT_FALSE(QFile::exists(host_.native("x.png")));

  EXPECT_EQ(chart("QGr01N.RPT", host_.native("x.png"), {"--chart-order", "Alfabetico"}).exitCode,
            2);
  EXPECT_EQ(chart("../QGr01N.RPT", host_.native("x.png")).exitCode, 2);
  EXPECT_EQ(
      runOrbelan({"query", "--user", "1", "--table", "LANCISTAMPA", "--run", "--chart-x", "NOTE"})
          .exitCode,
      2);
}
