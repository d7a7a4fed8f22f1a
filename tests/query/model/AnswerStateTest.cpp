#include <gtest/gtest.h>

#include "query/model/AnswerCodes.h"
#include "query/model/LayoutCopy.h"
#include "query/model/Totals.h"

namespace {

using namespace query::model;

TEST(AnswerCodes, DigitsOfTheCode) {
  struct {
    int code;
    int position;
    bool sortKey;
    bool descending;
    bool total;
    int grouping;
  } const cases[] = {
      {10211, 2, true, true, true, 1}, {0, 0, false, false, false, 0},
      {2, 0, false, false, false, 2},  {3110, 31, true, false, true, 0},
      {100, 1, true, false, false, 0}, {-5, 0, false, false, false, 0},
  };
  AnswerCodes codes;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    codes.setCode(7, c.code);
    EXPECT_EQ(AnswerCodes::EstraiPosizioneOrdinamento(c.code), c.position);
    EXPECT_EQ(AnswerCodes::isSortKey(c.code), c.sortKey);
    EXPECT_EQ(AnswerCodes::isDescending(c.code), c.descending);
    EXPECT_EQ(codes.ControlloSuTotali(7), c.total);
    EXPECT_EQ(codes.TipoRaggruppamento(7), c.grouping);
  }
}

TEST(AnswerCodes, GroupingDigitChangesAloneAndOutOfRangeColumnsAreInert) {
  AnswerCodes codes;
  codes.setCode(255, 10211);
  for (int digit : {2, 0, 1}) {
    codes.AggTipoRaggruppamento(255, digit);
    EXPECT_EQ(codes.code(255), 10210 + digit);
  }
  codes.AggTipoRaggruppamento(255, 12);
  EXPECT_EQ(codes.code(255), 10211);
  codes.setCode(256, 5);
  codes.AggTipoRaggruppamento(-1, 2);
  EXPECT_EQ(codes.code(256), 0);
  EXPECT_EQ(codes.TipoRaggruppamento(-1), 0);
  EXPECT_EQ(codes.code(0), 0);
}

TEST(Totals, AccumulateInExtendedPrecisionAndZero) {
  Totals totals;
  totals.add(0, 1e18L);
  totals.add(0, 1.0L);  // lost in a double, kept in a long double on x86
  totals.add(255, 2.5L);
  totals.add(256, 9.0L);
  if (sizeof(long double) > sizeof(double)) {
    EXPECT_EQ(totals.total(0), 1e18L + 1.0L);
  }
  EXPECT_EQ(totals.total(255), 2.5L);
  EXPECT_EQ(totals.total(256), 0.0L);
  totals.zero();
  EXPECT_EQ(totals.total(0), 0.0L);
  EXPECT_EQ(totals.total(255), 0.0L);
}

TEST(LayoutCopy, SavedAndAppliedBackToTheReopenedAnswer) {
  AnswerCodes codes;
  codes.setCode(1, 10211);
  const QList<AnswerColumn> shown{{"CODICE", "CODICE", 10, true},
                                  {"DESCRIZIONE", "DESCRIZIONE", 5, false},
                                  {"IDLANCIOSTAMPA", "IDLANCIOSTAMPA", 20, true}};
  QList<LayoutRow> layout = SalvaAspetto(shown, codes);
  EXPECT_EQ(layout[1], LayoutRow({1, "DESCRIZIONE", 5, 0, 1, 10211}));

  layout[2].pos = 0;  // moved to the front
  layout[0].dim = 3;  // narrower than its name
  layout.append({9, "ASSENTE", 1, 1, 0, 0});
  QList<AnswerColumn> reopened{{"CODICE", "CODICE", 8, true},
                               {"DESCRIZIONE", "DESCRIZIONE", 8, true},
                               {"IDLANCIOSTAMPA", "Id", 8, false}};
  applyLayout(layout, reopened);
  EXPECT_EQ(reopened, QList<AnswerColumn>({{"IDLANCIOSTAMPA", "Id", 20, true},
                                           {"CODICE", "COD", 3, true},
                                           {"DESCRIZIONE", "DESCR", 5, false}}));
}

}  // namespace
