#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "platform/printing/PrinterEntry.h"

// The printers installed on this machine: the destinations of the CUPS
// server (the one CUPS_SERVER names, else the system's).
namespace platform::printing {

struct InstalledPrinter {
  QString name;          // the CUPS destination name
  QString makeAndModel;  // "printer-make-and-model"
  QString deviceUri;     // "device-uri"; the printer's own URI when the server hides it
  bool isDefault = false;

  // "name,driver,port": the driver cut from the make-and-model, the device URI as port.
  PrinterEntry entry() const;
};

struct PrinterEnumeration {
  QList<InstalledPrinter> printers;  // in the server's order (by name)
  QString error;                     // why the server could not be asked; empty when it answered
};

// One entry per destination. Instances (saved option sets of a queue) are not
// printers of their own and are left out.
PrinterEnumeration installedPrinters();

// The entries of installedPrinters(), in the same order.
QStringList printerEntries(QString* error = nullptr);

}  // namespace platform::printing
