#include <cups/cups.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "platform/printing/DefaultPrinter.h"
#include "platform/printing/PrinterList.h"
#include "platform/printing/RawPrintJob.h"
#include "support/PrivateCups.h"
#include "support/QtPrinters.h"
#include "support/SocketPrinter.h"

using namespace platform::printing;

namespace {

// A private CUPS scheduler with a raw queue "Termica" printing to a socket
// printer played by the test.
class CupsPrinting : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_CUPSD();
    cups_ = std::make_unique<PrivateCups>();
    ASSERT_TRUE(cups_->isRunning()) << cups_->error().toStdString();
    ASSERT_NE(printer_.port(), 0);
    ASSERT_TRUE(cups_->addRawQueue("Termica", printer_.port())) << cups_->error().toStdString();
  }

  std::string log() const { return cups_ ? cups_->log().toStdString() : std::string(); }

  SocketPrinter printer_;
  std::unique_ptr<PrivateCups> cups_;
};

QByteArray everyByteValue(int length) {
  QByteArray bytes;
  for (int i = 0; i < length; ++i) bytes.append(static_cast<char>((i * 7) % 256));
  return bytes;
}

}  // namespace

TEST_F(CupsPrinting, ListsEveryQueueAsNameDriverPort) {
  QTemporaryDir ppdDir;
  const QString ppd = ppdDir.filePath("label.ppd");
  {
    QFile file(ppd);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
        "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"LABEL.PPD\"\n"
        "*Manufacturer: \"Zebra\"\n*Product: \"(GK420t)\"\n*ModelName: \"Zebra GK420t\"\n"
        "*NickName: \"ZDesigner GK420t.EPL, 1.0\"\n*ShortNickName: \"GK420t\"\n"
        "*PSVersion: \"(3010.000) 0\"\n*LanguageLevel: \"3\"\n*ColorDevice: False\n"
        "*DefaultColorSpace: Gray\n*FileSystem: False\n*Throughput: \"1\"\n"
        "*LandscapeOrientation: Plus90\n*TTRasterizer: Type42\n"
        "*OpenUI *PageSize: PickOne\n*DefaultPageSize: Label\n"
        "*PageSize Label: \"<</PageSize[288 144]>>setpagedevice\"\n*CloseUI: *PageSize\n"
        "*DefaultImageableArea: Label\n*ImageableArea Label: \"0 0 288 144\"\n"
        "*DefaultPaperDimension: Label\n*PaperDimension Label: \"288 144\"\n");
  }
  ASSERT_TRUE(cups_->addQueue("Etichette", "socket://127.0.0.1:9", ppd))
      << cups_->error().toStdString();
  ASSERT_TRUE(cups_->setDefault("Etichette")) << cups_->error().toStdString();

  QString error = "not asked";
  const QStringList entries = printerEntries(&error);
  EXPECT_TRUE(error.isEmpty()) << error.toStdString();
  EXPECT_EQ(entries,
            (QStringList{"Etichette,ZDesigner GK420t,socket://127.0.0.1:9",
                         QStringLiteral("Termica,Local Raw Printer,%1").arg(printer_.deviceUri())}))
      << log();

  const PrinterEnumeration enumeration = installedPrinters();
  ASSERT_EQ(enumeration.printers.size(), 2);
  EXPECT_TRUE(enumeration.printers[0].isDefault);
  EXPECT_FALSE(enumeration.printers[1].isDefault);
}

TEST_F(CupsPrinting, RawJobsDeliverTheirBytesUnchangedOneConnectionEach) {
  // Printer commands with line ends, zero bytes, bytes above 127, and one
  // label far longer than a pass-through block.
  const QList<QByteArray> labels{
      QByteArray("^XA\r\n^FO50,50^FDL\xb4"
                 "ABITO^FS\r\n^XZ\r\n"),
      QByteArray("N\r\nA10,10,0,3,1,1,N,\"\x00\x01\x02\"\r\nP1\r\n", 27),
      everyByteValue(1000),
      QByteArray("\r\n"),
      QByteArray("^XA^FDultima^FS^XZ"),
  };
  RawPrinter termica("Termica");
  ASSERT_TRUE(termica.acceptsRaw()) << termica.error().toStdString();
  // An empty document is no job: CUPS would refuse it anyway.
  EXPECT_EQ(termica.print("vuota", QByteArray()), 0);
  EXPECT_EQ(termica.error(), "Stampante \"Termica\": documento vuoto, niente da stampare");
  int lastJob = 0;
  for (const QByteArray& label : labels) {
    const int job = termica.print("Etichetta", label);
    ASSERT_GT(job, lastJob) << termica.error().toStdString();
    lastJob = job;
  }
  const QList<QByteArray> received = printer_.waitForJobs(labels.size());
  EXPECT_EQ(received, labels) << log();
}

TEST_F(CupsPrinting, AQueueRefusingJobsPartWayKeepsWhatWasPrintedAndSaysWhy) {
  RawPrinter termica("Termica");
  ASSERT_GT(termica.print("1", "prima"), 0) << termica.error().toStdString();
  ASSERT_GT(termica.print("2", "seconda"), 0) << termica.error().toStdString();
  ASSERT_TRUE(cups_->rejectJobs("Termica")) << cups_->error().toStdString();

  EXPECT_FALSE(termica.acceptsRaw());
  EXPECT_TRUE(termica.error().contains("non accetta lavori")) << termica.error().toStdString();
  EXPECT_EQ(termica.print("3", "terza"), 0);
  EXPECT_TRUE(termica.error().startsWith("Stampante \"Termica\": lavoro rifiutato"))
      << termica.error().toStdString();

  EXPECT_EQ(printer_.waitForJobs(2), (QList<QByteArray>{"prima", "seconda"}));
  // Nothing of the refused job reaches the printer later.
  EXPECT_EQ(printer_.waitForJobs(3, 1500).size(), 2);
}

TEST_F(CupsPrinting, AcceptsRawOnlyForAQueueThatExists) {
  RawPrinter missing("Inesistente");
  EXPECT_FALSE(missing.acceptsRaw());
  EXPECT_TRUE(missing.error().startsWith("Stampante \"Inesistente\": stampante non installata"))
      << missing.error().toStdString();
  EXPECT_EQ(missing.print("x", "x"), 0);
  EXPECT_FALSE(missing.error().isEmpty());

  RawPrinter nobody{QString()};
  EXPECT_FALSE(nobody.acceptsRaw());
  EXPECT_EQ(nobody.error(), "Nessuna stampante predefinita");
}

TEST_F(CupsPrinting, TheDefaultPrinterIsTheOneTheProfileNamesElseTheCupsDefault) {
  QTemporaryDir windows;
  qputenv("ORBELAN_WINDOWS_DIR", QFile::encodeName(windows.path()));
  EXPECT_EQ(defaultPrinterName(), "");  // no profile entry, no CUPS default

  ASSERT_TRUE(cups_->addQueue("Ufficio", "socket://127.0.0.1:9")) << cups_->error().toStdString();
  ASSERT_TRUE(cups_->setDefault("Ufficio")) << cups_->error().toStdString();
  EXPECT_EQ(defaultPrinterName(), "Ufficio");
  setDefaultPrinterEntry("");
  EXPECT_EQ(defaultPrinterName(), "Ufficio");
  {
    DefaultPrinterSwitch toThermal("Termica,Local Raw Printer," + printer_.deviceUri());
    EXPECT_EQ(defaultPrinterName(), "Termica");
    RawPrinter current(defaultPrinterName());
    EXPECT_GT(current.print("Etichetta", "via profilo"), 0) << current.error().toStdString();
  }
  EXPECT_EQ(defaultPrinterEntry(), "");
  EXPECT_EQ(defaultPrinterName(), "Ufficio");
  EXPECT_EQ(printer_.waitForJobs(1), (QList<QByteArray>{"via profilo"}));
  qunsetenv("ORBELAN_WINDOWS_DIR");
}

// A scheduler without printers is an empty list, not a failure.
TEST(CupsWithoutPrinters, ListsNothingAndNoError) {
  REQUIRE_CUPSD();
  PrivateCups cups;
  ASSERT_TRUE(cups.isRunning()) << cups.error().toStdString();
  const PrinterEnumeration enumeration = installedPrinters();
  EXPECT_TRUE(enumeration.printers.isEmpty());
  EXPECT_TRUE(enumeration.error.isEmpty()) << enumeration.error.toStdString();
}

// No scheduler at all: every question fails with a reason instead of an
// empty answer taken for "no printers".
TEST(CupsUnreachable, EveryCallSaysSo) {
  QTemporaryDir dir;
  const QByteArray saved = qgetenv("CUPS_SERVER");
  const bool hadServer = qEnvironmentVariableIsSet("CUPS_SERVER");
  const QByteArray nowhere = QFile::encodeName(dir.filePath("no-cupsd.sock"));
  qputenv("CUPS_SERVER", nowhere);
  cupsSetServer(nullptr);

  const PrinterEnumeration enumeration = installedPrinters();
  EXPECT_TRUE(enumeration.printers.isEmpty());
  EXPECT_TRUE(enumeration.error.startsWith("Elenco stampanti non disponibile"))
      << enumeration.error.toStdString();
  RawPrinter termica("Termica");
  EXPECT_FALSE(termica.acceptsRaw());
  EXPECT_EQ(termica.print("x", "x"), 0);
  EXPECT_TRUE(termica.error().startsWith("Stampante \"Termica\"")) << termica.error().toStdString();

  if (hadServer)
    qputenv("CUPS_SERVER", saved);
  else
    qunsetenv("CUPS_SERVER");
  cupsSetServer(nullptr);
}
