#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "core/Paths.h"
#include "query/engine/PrintLayout.h"
#include "support/TestFiles.h"

namespace {

using query::engine::AdvancedLayout;
using query::engine::LayoutField;
using T = db::FieldType;

QByteArray fixture(const char* name) {
  return testfiles::contents(QStringLiteral(ORBELAN_LAYOUT_FIXTURES "/") + QLatin1String(name));
}

// An answer of eight fields: a code, an integer and a BCD of three
// decimals with totals, a float with totals and grouping 2, a float of
// display width 2 with grouping 1, a hidden field, a memo and a date.
AdvancedLayout knownAnswer() {
  AdvancedLayout layout;
  layout.fields = {
      {QStringLiteral("CODICE"), T::String, 0, 20, true, 0, false},
      {QStringLiteral("QTA"), T::Integer, 0, 10, true, 0, true},
      {QStringLiteral("PREZZO"), T::Bcd, 3, 12, true, 0, true},
      {QStringLiteral("IMPORTO"), T::Float, 0, 15, true, 2, true},
      {QStringLiteral("SCONTO"), T::Float, 0, 2, true, 1, false},
      {QStringLiteral("NASCOSTO"), T::String, 0, 10, false, 0, false},
      {QStringLiteral("NOTE"), T::Memo, 0, 30, true, 0, false},
      {QStringLiteral("DATA"), T::Date, 0, 10, true, 0, false},
  };
  layout.gridColumns = {0, 1, 2, 3, 4, 5, 6, 7};
  return layout;
}

TEST(PrintLayoutTest, AdvancedLayoutsAreWrittenByteForByte) {
  // Portrait with totals: the memo and the date no longer fit in 182000
  // and are dropped from all three sections.
  AdvancedLayout portrait = knownAnswer();
  portrait.hasTotals = true;
  EXPECT_EQ(query::engine::layoutFileBytes(query::engine::advancedLayoutLines(portrait)),
            fixture("advanced-portrait.lst"));

  // Landscape keeps every visible column; long texts make the memo fit
  // its text; without totals the totals line is blank; a bold italic
  // coloured font.
  AdvancedLayout landscape = knownAnswer();
  landscape.landscape = true;
  landscape.longTexts = true;
  landscape.font = {QStringLiteral("Times New Roman"), 10, true, true, false, false, 255, 0, 0};
  EXPECT_EQ(query::engine::layoutFileBytes(query::engine::advancedLayoutLines(landscape)),
            fixture("advanced-landscape.lst"));

  query::engine::LayoutFont courier;
  courier.name = QStringLiteral("Courier New");
  EXPECT_EQ(query::engine::layoutFileBytes(query::engine::standardLayoutLines(courier)),
            fixture("standard.lst"));
}

TEST(PrintLayoutTest, SectionsPageNumbersAndExpressions) {
  AdvancedLayout layout = knownAnswer();
  layout.numberPages = false;
  layout.singleRecord = true;
  const QStringList lines = query::engine::advancedLayoutLines(layout);
  EXPECT_FALSE(lines.contains(QStringLiteral(" [Columns1]")));
  EXPECT_TRUE(lines.filter(QStringLiteral("Pagina")).isEmpty());
  EXPECT_EQ(lines.filter(QStringLiteral(" ObjectName=Testo")).size(), 2);

  // Masks by type and grouping; integers of grouping 0 stand alone.
  LayoutField bcd{QStringLiteral("B"), T::Bcd, 5, 10, true, 0, false};
  EXPECT_EQ(query::engine::fieldExpression(QStringLiteral("B"), bcd),
            QStringLiteral("Fstr$(B,\"---,---,---,--&.#####\",1)"));
  bcd.scale = 2;
  EXPECT_EQ(query::engine::fieldExpression(QStringLiteral("B"), bcd),
            QStringLiteral("Fstr$(B,\"---,---,---,--&.##\",1)"));
  LayoutField integer{QStringLiteral("I"), T::Integer, 0, 10, true, 2, false};
  EXPECT_EQ(query::engine::fieldExpression(QStringLiteral("I"), integer),
            QStringLiteral("Fstr$(I,\"---,---,---,---\",1)"));
  integer.grouping = 0;
  EXPECT_EQ(query::engine::fieldExpression(QStringLiteral("I"), integer), QStringLiteral("I"));
  EXPECT_EQ(query::engine::layoutColumnWidth(2), 20000);
  EXPECT_EQ(query::engine::layoutColumnWidth(3), 6000);

  // A width of exactly the room is dropped: the sum must stay below it.
  AdvancedLayout wide;
  wide.fields = {{QStringLiteral("A"), T::String, 0, 50, true, 0, false},
                 {QStringLiteral("B"), T::String, 0, 41, true, 0, false},
                 {QStringLiteral("C"), T::String, 0, 2, true, 0, false}};
  wide.gridColumns = {0, 1, 2};
  const QStringList kept = query::engine::advancedLayoutLines(wide);
  EXPECT_EQ(kept.filter(QStringLiteral("Text=\u00A8\"A\"")).size(), 1);
  EXPECT_TRUE(kept.filter(QStringLiteral("Text=\u00A8\"B\"")).isEmpty());
  EXPECT_TRUE(kept.filter(QStringLiteral("Text=\u00A8B")).isEmpty());
}

TEST(PrintLayoutTest, LayoutFileReplacesTheOldOneAndCreatesItsDirectory) {
  QTemporaryDir dir;
  const QString path = core::storedPath(dir.path()) + QStringLiteral("\\Report\\QuovTemp.lst");
  QString error;
  ASSERT_TRUE(query::engine::writeLayoutFile(path, {QStringLiteral("vecchio")}, &error))
      << error.toStdString();
  ASSERT_TRUE(query::engine::writeLayoutFile(
      path, {QStringLiteral("[Layout]"), QStringLiteral("\u00A8x")}, &error));
  EXPECT_EQ(testfiles::contents(core::nativePath(path)), QByteArray("[Layout]\r\n\xA8x\r\n"));
  EXPECT_EQ(testfiles::entries(dir.path() + QStringLiteral("/Report")),
            QStringList{"QuovTemp.lst"});
}

}  // namespace
