#include "platform/printing/PrinterList.h"

#include <cups/cups.h>

namespace platform::printing {

namespace {

QString option(const cups_dest_t& dest, const char* name) {
  return QString::fromUtf8(cupsGetOption(name, dest.num_options, dest.options));
}

}  // namespace

PrinterEntry InstalledPrinter::entry() const {
  return PrinterEntry{name, driverFromMakeAndModel(makeAndModel), deviceUri};
}

PrinterEnumeration installedPrinters() {
  PrinterEnumeration result;
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
  // No destination is a normal answer; an unreachable server leaves its error.
  if (count == 0 && cupsLastError() >= IPP_STATUS_ERROR_BAD_REQUEST &&
      cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND) {
    result.error = QStringLiteral("Elenco stampanti non disponibile: ") +
                   QString::fromUtf8(cupsLastErrorString());
  }
  for (int i = 0; i < count; ++i) {
    const cups_dest_t& dest = dests[i];
    if (dest.instance) continue;
    InstalledPrinter printer;
    printer.name = QString::fromUtf8(dest.name);
    printer.makeAndModel = option(dest, "printer-make-and-model");
    printer.deviceUri = option(dest, "device-uri");
    if (printer.deviceUri.isEmpty()) printer.deviceUri = option(dest, "printer-uri-supported");
    printer.isDefault = dest.is_default != 0;
    result.printers.append(printer);
  }
  cupsFreeDests(count, dests);
  return result;
}

QStringList printerEntries(QString* error) {
  const PrinterEnumeration enumeration = installedPrinters();
  if (error) *error = enumeration.error;
  QStringList entries;
  for (const InstalledPrinter& printer : enumeration.printers)
    entries.append(printer.entry().text());
  return entries;
}

}  // namespace platform::printing
