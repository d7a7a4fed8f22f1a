#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <stdexcept>

#include "core/Paths.h"
#include "platform/printing/DefaultPrinter.h"
#include "support/QtPrinters.h"

using namespace platform::printing;

namespace {

// The Windows folder in a temporary folder; it does not exist at first.
class DefaultPrinterEntry : public ::testing::Test {
 protected:
  DefaultPrinterEntry() { qputenv("ORBELAN_WINDOWS_DIR", QFile::encodeName(windowsDir())); }
  ~DefaultPrinterEntry() override { qunsetenv("ORBELAN_WINDOWS_DIR"); }

  QString windowsDir() const { return dir_.filePath(QStringLiteral("windows")); }
  QString profile() const { return windowsDir() + QStringLiteral("/win.ini"); }
  QByteArray profileBytes() const {
    QFile file(profile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }
  void writeProfile(const QByteArray& bytes) const {
    QDir().mkpath(windowsDir());
    QFile file(profile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  QTemporaryDir dir_;
};

const QByteArray kProfile =
    "[fonts]\r\n"
    "device=not this one\r\n"
    "[Windows]\r\n"
    "load=\r\n"
    "Device=Ufficio,HP LaserJet,USB001\r\n"
    "[devices]\r\n"
    "Ufficio=HP LaserJet,USB001\r\n";

}  // namespace

TEST_F(DefaultPrinterEntry, AbsentReadsAsNoPrinterAndComesBackAsNoPrinter) {
  EXPECT_EQ(defaultPrinterEntry(), ",,,");
  EXPECT_EQ(core::nativePath(systemProfilePath()), profile());
  {
    DefaultPrinterSwitch toThermal(QString::fromUtf8("Etichette è,Zebra,socket://h:9100"));
    EXPECT_EQ(toThermal.previous(), ",,,");
    // The Windows folder and the profile are created; the bytes are Windows-1252.
    EXPECT_EQ(profileBytes(), "[windows]\r\ndevice=Etichette \xe8,Zebra,socket://h:9100\r\n");
    EXPECT_EQ(defaultPrinterEntry(), QString::fromUtf8("Etichette è,Zebra,socket://h:9100"));
  }
  EXPECT_EQ(defaultPrinterEntry(), ",,,");
}

TEST_F(DefaultPrinterEntry, SwitchWritesThePrinterAndRestoresTheProfileExactly) {
  writeProfile(kProfile);
  try {
    DefaultPrinterSwitch toThermal("Termica,Local Raw Printer,socket://127.0.0.1:9100");
    EXPECT_TRUE(toThermal.ok());
    EXPECT_TRUE(toThermal.changed());
    EXPECT_EQ(toThermal.previous(), "Ufficio,HP LaserJet,USB001");
    EXPECT_EQ(defaultPrinterEntry(), "Termica,Local Raw Printer,socket://127.0.0.1:9100");
    EXPECT_EQ(defaultPrinterName(), "Termica");
    throw std::runtime_error("printing failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(profileBytes(), kProfile);

  // Restoring early leaves nothing for the destructor to do.
  {
    DefaultPrinterSwitch toThermal("Termica,,");
    EXPECT_TRUE(toThermal.restore());
    EXPECT_FALSE(toThermal.changed());
    EXPECT_EQ(defaultPrinterEntry(), "Ufficio,HP LaserJet,USB001");
    setDefaultPrinterEntry("Altra,,");  // someone else's change after the restore stays
  }
  EXPECT_EQ(defaultPrinterEntry(), "Altra,,");
}

TEST_F(DefaultPrinterEntry, ThePrinterAlreadyDefaultLeavesTheProfileUntouched) {
  writeProfile(kProfile);
  struct stat before {};
  ASSERT_EQ(::stat(QFile::encodeName(profile()).constData(), &before), 0);
  {
    DefaultPrinterSwitch same("Ufficio,HP LaserJet,USB001");
    EXPECT_TRUE(same.ok());
    EXPECT_FALSE(same.changed());
  }
  struct stat after {};
  ASSERT_EQ(::stat(QFile::encodeName(profile()).constData(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);  // a write replaces the file
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

TEST_F(DefaultPrinterEntry, WriteFailuresAreReportedAndTheRestoreRetried) {
  // A file where the Windows folder should be: nothing can be written.
  QDir().mkpath(dir_.path());
  {
    QFile blocker(windowsDir());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  }
  {
    DefaultPrinterSwitch toThermal("Termica,,");
    EXPECT_FALSE(toThermal.ok());
    EXPECT_FALSE(toThermal.changed());
    EXPECT_TRUE(toThermal.error().contains("win.ini")) << toThermal.error().toStdString();
  }
  QFile::remove(windowsDir());

  // The profile becomes unwritable between the switch and the restore.
  writeProfile(kProfile);
  {
    DefaultPrinterSwitch toThermal("Termica,,");
    ASSERT_TRUE(toThermal.changed());
    QDir(windowsDir()).removeRecursively();
    QFile blocker(windowsDir());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(toThermal.restore());
    EXPECT_FALSE(toThermal.ok());
    EXPECT_TRUE(toThermal.changed());
    QFile::remove(windowsDir());
  }  // the destructor tries again and succeeds
  EXPECT_EQ(defaultPrinterEntry(), "Ufficio,HP LaserJet,USB001");
}
