#pragma once

#include <QString>

// The default printer as the Windows profile holds it: the "device" key of
// section "windows" of win.ini, in the folder that stands for "c:\windows\".
// Its value is a printer entry "name,driver,port". The print jobs of this
// program go to the printer it names, or to the CUPS default printer when it
// names none.
namespace platform::printing {

// The stored path of the system profile, win.ini in the Windows folder.
QString systemProfilePath();

// The "device" value; ",,," when the key is absent. The value is read whole
// (no 128-character buffer), so that writing it back restores it exactly.
QString defaultPrinterEntry();

// Writes the "device" value, creating the Windows folder and the profile when
// they do not exist. False when the profile cannot be written.
bool setDefaultPrinterEntry(const QString& entry);

// The CUPS destination "the default printer" means: the name part of the
// "device" value, or, when that is empty (no key, "" or ",,,"), the CUPS
// default destination. Empty when there is neither.
QString defaultPrinterName();

// Makes a printer the default one for as long as the object lives, as the
// label printing does before it prints: when the current "device" value
// differs from `printer`, `printer` is written and the previous value is
// written back by restore() or, at the latest, by the destructor, so that
// the default printer comes back on every path, also when an exception
// leaves the caller. When they are equal the profile is not touched.
class DefaultPrinterSwitch {
 public:
  explicit DefaultPrinterSwitch(const QString& printer);
  ~DefaultPrinterSwitch();
  DefaultPrinterSwitch(const DefaultPrinterSwitch&) = delete;
  DefaultPrinterSwitch& operator=(const DefaultPrinterSwitch&) = delete;

  // False when the new value could not be written; the default printer is
  // then unchanged and error() says why.
  bool ok() const { return error_.isEmpty(); }
  const QString& error() const { return error_; }
  // Whether the profile was changed and is still to be restored.
  bool changed() const { return changed_; }
  // The value found before the switch.
  const QString& previous() const { return previous_; }

  // Writes the previous value back once; later calls do nothing. False when
  // the profile could not be written (error() says so); the destructor then
  // tries again.
  bool restore();

 private:
  QString previous_;
  QString error_;
  bool changed_ = false;
};

}  // namespace platform::printing
