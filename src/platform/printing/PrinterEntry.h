#pragma once

#include <QString>

// A printer identified the way the Windows profile names the default printer
// ("device" of section "windows") and the way the print settings store the
// thermal printer: printer name, driver and port separated by commas.
namespace platform::printing {

struct PrinterEntry {
  QString name;
  QString driver;
  QString port;

  // "name,driver,port"; the name is cut to 255 characters.
  QString text() const;
  // The name is the text before the first comma, the driver the text up to
  // the second, the port all the rest (a port may hold commas, a name and a
  // driver cannot). Missing parts are empty.
  static PrinterEntry parse(const QString& entry);
};

// The driver part of an entry from a printer's make-and-model: the text
// before the first "." (all of it when there is none). A comma ends it too,
// so that the driver never shifts the port of the entry.
QString driverFromMakeAndModel(const QString& makeAndModel);

}  // namespace platform::printing
