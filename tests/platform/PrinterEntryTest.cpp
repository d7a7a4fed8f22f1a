#include <gtest/gtest.h>

#include "platform/printing/PrinterEntry.h"
#include "platform/printing/RawPrintJob.h"
#include "support/QtPrinters.h"

using namespace platform::printing;

TEST(PrinterEntry, WritesAndReadsNameDriverPort) {
  const PrinterEntry zebra{"Zebra", "ZDesigner GK420t", "socket://10.0.0.5:9100"};
  EXPECT_EQ(zebra.text(), "Zebra,ZDesigner GK420t,socket://10.0.0.5:9100");
  const PrinterEntry back = PrinterEntry::parse(zebra.text());
  EXPECT_EQ(back.name, "Zebra");
  EXPECT_EQ(back.driver, "ZDesigner GK420t");
  EXPECT_EQ(back.port, "socket://10.0.0.5:9100");

  // A printer without driver keeps both commas; the name is cut to 255 characters.
  EXPECT_EQ((PrinterEntry{"P", "", "USB001"}.text()), "P,,USB001");
  EXPECT_EQ((PrinterEntry{QString(300, 'x'), "d", "p"}.text()), QString(255, 'x') + ",d,p");

  // Only the first two commas separate: a port may hold more.
  EXPECT_EQ(PrinterEntry::parse("Q,drv,ipp://h/p?x=1,2").port, "ipp://h/p?x=1,2");
  const PrinterEntry none = PrinterEntry::parse(",,,");
  EXPECT_TRUE(none.name.isEmpty());
  EXPECT_TRUE(none.driver.isEmpty());
  EXPECT_EQ(none.port, ",");
  EXPECT_EQ(PrinterEntry::parse("Solo nome").name, "Solo nome");
  EXPECT_TRUE(PrinterEntry::parse("Solo nome").driver.isEmpty());
  EXPECT_EQ(PrinterEntry::parse("A,B").driver, "B");
  EXPECT_TRUE(PrinterEntry::parse("A,B").port.isEmpty());
}

TEST(PrinterEntry, DriverIsMakeAndModelUpToTheFirstPoint) {
  EXPECT_EQ(driverFromMakeAndModel("Local Raw Printer"), "Local Raw Printer");
  EXPECT_EQ(driverFromMakeAndModel("ZDESIGNER.DLL"), "ZDESIGNER");
  EXPECT_EQ(driverFromMakeAndModel("Generic.PostScript.Printer"), "Generic");
  EXPECT_EQ(driverFromMakeAndModel(".hidden"), "");
  EXPECT_EQ(driverFromMakeAndModel(""), "");
  // A comma would shift the port of the entry: it ends the driver too.
  EXPECT_EQ(driverFromMakeAndModel("HP LaserJet Pro M404-M405, hpcups 3.22.10"),
            "HP LaserJet Pro M404-M405");
}

TEST(PassThroughBlocks, CutsWithoutLosingOrReorderingBytes) {
  EXPECT_TRUE(passThroughBlocks(QByteArray()).isEmpty());

  QByteArray document;
  for (int i = 0; i < 600; ++i) document.append(static_cast<char>(i % 256));
  const QList<QByteArray> blocks = passThroughBlocks(document);
  ASSERT_EQ(blocks.size(), 3);
  EXPECT_EQ(blocks[0].size(), 255);
  EXPECT_EQ(blocks[1].size(), 255);
  EXPECT_EQ(blocks[2].size(), 90);
  EXPECT_EQ(blocks.join(), document);

  EXPECT_EQ(passThroughBlocks(document.left(255)).size(), 1);
  EXPECT_EQ(passThroughBlocks(document.left(256)).size(), 2);
  EXPECT_EQ(passThroughBlocks(document.left(256)).last(), document.mid(255, 1));
  EXPECT_EQ(passThroughBlocks("abc", 1), (QList<QByteArray>{"a", "b", "c"}));
}
