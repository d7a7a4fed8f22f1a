#include <gtest/gtest.h>

#include "labels/LabelVariables.h"

namespace {

TEST(LabelVariables, DescriptionSplitsAtTheFirstDashWithoutItsBlanks) {
  labels::LabelRow row{"C", "DATI", "GIACCA - LANA - BLU", "", "", "8001234567890"};
  labels::LabelVariables v = labels::labelVariables(row, false);
  EXPECT_EQ(v.descrizione, "GIACCA");
  EXPECT_EQ(v.descrizione1, "LANA - BLU");
  EXPECT_EQ(v.datiProdotto, "DATI");
  EXPECT_EQ(v.codiceEan, "8001234567890");

  row.descrizione = "  SENZA TRATTINO ";
  v = labels::labelVariables(row, false);
  EXPECT_EQ(v.descrizione, "");
  EXPECT_EQ(v.descrizione1, "SENZA TRATTINO ");
  row.descrizione = "-DOPO";
  EXPECT_EQ(labels::labelVariables(row, false).descrizione, "");
  EXPECT_EQ(labels::labelVariables(row, false).descrizione1, "DOPO");
}

TEST(LabelVariables, CodeLosesItsSerialOnlyWhenAsked) {
  const labels::LabelRow row{"12345678901234567890", "", "", "", "", ""};
  EXPECT_EQ(labels::labelVariables(row, false).codiceBarre, "12345678901234567890");
  EXPECT_EQ(labels::labelVariables(row, true).codiceBarre, "1234567890123456");
}

TEST(LabelVariables, OrderShowsOnRestockingLabelsOnly) {
  EXPECT_EQ(labels::orderForLabel("RIASS", "123456"), "3456");
  EXPECT_EQ(labels::orderForLabel("RIASS", "12345"), "2345");
  EXPECT_EQ(labels::orderForLabel("RIASS", "1234"), "1234");
  EXPECT_EQ(labels::orderForLabel("RIASS", ""), "");
  EXPECT_EQ(labels::orderForLabel("VEND", "1234"), "");
  EXPECT_EQ(labels::orderForLabel("riass", "1234"), "") << "exactly RIASS";
  EXPECT_EQ(labels::labelVariables({"", "", "", "RIASS", "ORD123", ""}, false).named().at(4),
            qMakePair(QString("Ordine"), QString("D123")));
}

TEST(LabelVariables, ProgressRoundsHalvesToEven) {
  EXPECT_EQ(labels::labelProgress(0, 3), 0);
  EXPECT_EQ(labels::labelProgress(1, 3), 33);
  EXPECT_EQ(labels::labelProgress(2, 3), 67);
  EXPECT_EQ(labels::labelProgress(1, 8), 12) << "12.5 rounds to the even 12";
  EXPECT_EQ(labels::labelProgress(3, 8), 38) << "37.5 rounds to the even 38";
  EXPECT_EQ(labels::labelProgress(0, 0), 0);
}

}  // namespace
