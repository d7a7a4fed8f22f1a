#include "platform/printing/DefaultPrinter.h"

#include <cups/cups.h>

#include <QDir>

#include "core/IniFile.h"
#include "core/Paths.h"
#include "platform/printing/PrinterEntry.h"

namespace platform::printing {

namespace {

const QString kSection = QStringLiteral("windows");
const QString kKey = QStringLiteral("device");
const QString kNoPrinter = QStringLiteral(",,,");

QString cupsDefaultDestination() {
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
  if (!dest) return QString();
  const QString name = QString::fromUtf8(dest->name);
  cupsFreeDests(1, dest);
  return name;
}

}  // namespace

QString systemProfilePath() {
  return core::windowsDirectory() + QStringLiteral("win.ini");
}

QString defaultPrinterEntry() {
  return core::IniFile(systemProfilePath()).read(kSection, kKey, kNoPrinter);
}

bool setDefaultPrinterEntry(const QString& entry) {
  // The folder stands for "c:\windows\", which always exists on Windows.
  QDir().mkpath(core::nativePath(core::windowsDirectory()));
  return core::IniFile(systemProfilePath()).write(kSection, kKey, entry);
}

QString defaultPrinterName() {
  const QString name = PrinterEntry::parse(defaultPrinterEntry()).name;
  return name.trimmed().isEmpty() ? cupsDefaultDestination() : name;
}

DefaultPrinterSwitch::DefaultPrinterSwitch(const QString& printer)
    : previous_(defaultPrinterEntry()) {
  if (previous_ == printer) return;
  if (setDefaultPrinterEntry(printer))
    changed_ = true;
  else
    error_ = QStringLiteral("Impossibile impostare la stampante predefinita in ") +
             core::nativePath(systemProfilePath());
}

DefaultPrinterSwitch::~DefaultPrinterSwitch() {
  restore();
}

bool DefaultPrinterSwitch::restore() {
  if (!changed_) return true;
  if (setDefaultPrinterEntry(previous_)) {
    changed_ = false;
    return true;
  }
  // Still changed: the destructor tries once more.
  error_ = QStringLiteral("Impossibile ripristinare la stampante predefinita in ") +
           core::nativePath(systemProfilePath());
  return false;
}

}  // namespace platform::printing
