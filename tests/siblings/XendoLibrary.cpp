#include "XendoLibrary.h"

#include "core/Cp1252.h"

XendoLibrary::XendoLibrary()
    : library_(qEnvironmentVariable("ORBELAN_LIBRARY_DIR") + QStringLiteral("/libXendo.so")) {
  if (!library_.load()) return;
  exportXls_ = reinterpret_cast<Export>(library_.resolve("ExportXlsAnsi"));
  exportXlsx_ = reinterpret_cast<Export>(library_.resolve("ExportXlsXAnsi"));
  lastError_ = reinterpret_cast<LastError>(library_.resolve("XendoLastError"));
}

XendoLibrary::~XendoLibrary() {
  if (library_.isLoaded()) library_.unload();
}

int XendoLibrary::run(Format format, const QString& sql, const QString& database,
                      const QString& directory, const QString& fileName,
                      const QString& templateWorkbook) const {
  const Export entry = format == Format::Xls ? exportXls_ : exportXlsx_;
  return entry(core::toCp1252(sql).constData(), core::toCp1252(database).constData(),
               core::toCp1252(directory).constData(), core::toCp1252(fileName).constData(),
               core::toCp1252(templateWorkbook).constData());
}

QByteArray XendoLibrary::lastErrorBytes() const {
  return QByteArray(lastError_());
}

QString XendoLibrary::lastError() const {
  return core::fromCp1252(lastErrorBytes());
}
