#pragma once

#include <QByteArray>
#include <QLibrary>
#include <QString>

// libXendo loaded the way the query designer's export loads it: by path from
// the library folder, for one export at a time.
class XendoLibrary {
 public:
  enum class Format { Xls, Xlsx };

  XendoLibrary();
  ~XendoLibrary();
  XendoLibrary(const XendoLibrary&) = delete;
  XendoLibrary& operator=(const XendoLibrary&) = delete;

  bool isLoaded() const { return exportXls_ && exportXlsx_ && lastError_; }
  QString loadError() const { return library_.errorString(); }

  // Calls ExportXlsAnsi or ExportXlsXAnsi with the texts in Windows-1252.
  int run(Format format, const QString& sql, const QString& database, const QString& directory,
          const QString& fileName, const QString& templateWorkbook = {}) const;
  // XendoLastError() as it arrives, in Windows-1252, and as text.
  QByteArray lastErrorBytes() const;
  QString lastError() const;

 private:
  using Export = int (*)(const char*, const char*, const char*, const char*, const char*);
  using LastError = const char* (*)();
  QLibrary library_;
  Export exportXls_ = nullptr;
  Export exportXlsx_ = nullptr;
  LastError lastError_ = nullptr;
};
