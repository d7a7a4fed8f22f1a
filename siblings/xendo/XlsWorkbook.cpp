#include "XlsWorkbook.h"

#include "CompoundFile.h"
#include "core/OutputFile.h"

namespace xendo {

XlsWorkbook::XlsWorkbook() = default;
XlsWorkbook::~XlsWorkbook() = default;

bool XlsWorkbook::open(const QString& path) {
  // Opened first, so that a folder that is missing or not writable fails
  // before any row is read.
  output_ = std::make_unique<core::OutputFile>(path);
  if (!output_->open()) return fail(output_->error());
  return true;
}

bool XlsWorkbook::writeHeader(const QStringList& names) {
  workbook_.addHeader(names);
  return true;
}

bool XlsWorkbook::writeRow(const std::vector<Cell>& cells) {
  workbook_.addRow(cells);
  return true;
}

bool XlsWorkbook::finish() {
  if (!output_ || !output_->isOpen()) return fail(QStringLiteral("file non aperto"));
  const bool written = writeCompoundFile(
      workbook_.stream(), [this](const QByteArray& bytes) { return output_->write(bytes); });
  if (!written) {
    const QString reason = output_->error();
    output_->discard();
    return fail(reason.isEmpty() ? QStringLiteral("cartella troppo grande") : reason);
  }
  if (!output_->commit()) return fail(output_->error());
  return true;
}

}  // namespace xendo
