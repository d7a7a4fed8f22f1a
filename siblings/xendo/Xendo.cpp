// The exports of libXendo. Nothing may cross the boundary to the caller:
// every failure becomes a negative result and the text XendoLastError()
// gives.
#include "Xendo.h"

#include <QByteArray>
#include <exception>

#include "Export.h"
#include "core/Cp1252.h"

namespace {

QByteArray& lastError() {
  static QByteArray text;
  return text;
}

QString argument(const char* text) {
  return text ? core::fromCp1252(QByteArray(text)) : QString();
}

int run(xendo::Format format, const char* sql, const char* databaseFile,
        const char* targetDirectory, const char* targetFileName, const char* templateWorkbook) {
  lastError().clear();
  QString message;
  int result = XENDO_WRITE_FAILED;
  try {
    const xendo::Outcome outcome = xendo::exportWorkbook(
        format, {argument(sql), argument(databaseFile), argument(targetDirectory),
                 argument(targetFileName), argument(templateWorkbook)});
    result = outcome.result;
    message = outcome.message;
  } catch (const std::exception& error) {
    message = QStringLiteral("Errore imprevisto nell'esportazione: ") +
              QString::fromLocal8Bit(error.what());
  } catch (...) {
    message = QStringLiteral("Errore imprevisto nell'esportazione");
  }
  lastError() = core::toCp1252(message);
  return result;
}

}  // namespace

extern "C" {

XENDO_API int ExportXlsAnsi(const char* sql, const char* databaseFile, const char* targetDirectory,
                            const char* targetFileName, const char* templateWorkbook) {
  return run(xendo::Format::Xls, sql, databaseFile, targetDirectory, targetFileName,
             templateWorkbook);
}

XENDO_API int ExportXlsXAnsi(const char* sql, const char* databaseFile, const char* targetDirectory,
                             const char* targetFileName, const char* templateWorkbook) {
  return run(xendo::Format::Xlsx, sql, databaseFile, targetDirectory, targetFileName,
             templateWorkbook);
}

XENDO_API const char* XendoLastError(void) {
  return lastError().constData();
}

}  // extern "C"
