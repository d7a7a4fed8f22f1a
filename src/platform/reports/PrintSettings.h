#pragma once

#include <QString>

namespace platform::reports {

// Where a print goes and how many times each label is printed.
enum class Destination { Printer, Preview, PdfFile };

struct PrintSettings {
  Destination destination = Destination::Printer;
  QString printer;  // the printer's name, for Destination::Printer
  QString pdfFile;  // a native path, for Destination::PdfFile
  int copies = 1;
};

}  // namespace platform::reports
