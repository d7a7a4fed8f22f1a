#pragma once

#include <memory>

#include "BiffWorkbook.h"
#include "WorkbookWriter.h"

namespace core {
class OutputFile;
}

namespace xendo {

// An .xls workbook: the BIFF8 stream built in memory, written at the end
// inside its compound file into the output file's temporary file, then put
// in place.
class XlsWorkbook : public WorkbookWriter {
 public:
  XlsWorkbook();
  ~XlsWorkbook() override;

  int maxRows() const override { return BiffWorkbook::kMaxRows; }
  int maxColumns() const override { return BiffWorkbook::kMaxColumns; }
  bool open(const QString& path) override;
  bool writeHeader(const QStringList& names) override;
  bool writeRow(const std::vector<Cell>& cells) override;
  bool finish() override;

 private:
  std::unique_ptr<core::OutputFile> output_;
  BiffWorkbook workbook_;
};

}  // namespace xendo
