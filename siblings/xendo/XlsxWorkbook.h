#pragma once

#include <memory>

#include "WorkbookWriter.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace core {
class OutputFile;
}

namespace xendo {

// An .xlsx workbook written by libxlsxwriter in constant-memory mode (each
// row goes to the library's temporary file as it is written) into the
// output file's temporary file, then put in place.
class XlsxWorkbook : public WorkbookWriter {
 public:
  XlsxWorkbook();
  ~XlsxWorkbook() override;

  int maxRows() const override;
  int maxColumns() const override;
  bool open(const QString& path) override;
  bool writeHeader(const QStringList& names) override;
  bool writeRow(const std::vector<Cell>& cells) override;
  bool finish() override;

 private:
  bool check(int error);

  std::unique_ptr<core::OutputFile> output_;
  lxw_workbook* workbook_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;
  lxw_format* bold_ = nullptr;
  lxw_format* date_ = nullptr;
  lxw_format* dateTime_ = nullptr;
  lxw_format* time_ = nullptr;
  unsigned row_ = 0;
};

}  // namespace xendo
