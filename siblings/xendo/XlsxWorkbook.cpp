#include "XlsxWorkbook.h"

#include <xlsxwriter.h>

#include <QFile>
#include <cstdio>

#include "SheetFormats.h"
#include "core/OutputFile.h"

namespace xendo {

XlsxWorkbook::XlsxWorkbook() = default;

XlsxWorkbook::~XlsxWorkbook() {
  // Abandoned: nothing is written and the output's temporary file goes.
  if (workbook_) lxw_workbook_free(workbook_);
}

int XlsxWorkbook::maxRows() const {
  return LXW_ROW_MAX;
}

int XlsxWorkbook::maxColumns() const {
  return LXW_COL_MAX;
}

bool XlsxWorkbook::check(int error) {
  if (error == LXW_NO_ERROR) return true;
  return fail(QStringLiteral("la libreria xlsx ha risposto: ") +
              QString::fromUtf8(lxw_strerror(static_cast<lxw_error>(error))));
}

bool XlsxWorkbook::open(const QString& path) {
  output_ = std::make_unique<core::OutputFile>(path);
  if (!output_->open()) return fail(output_->error());
  // The library opens the file by its name when the workbook is closed.
  const QByteArray temporary = QFile::encodeName(output_->temporaryPath());
  lxw_workbook_options options = {};
  options.constant_memory = LXW_TRUE;
  options.use_zip64 = LXW_TRUE;
  workbook_ = workbook_new_opt(temporary.constData(), &options);
  if (!workbook_) return fail(QStringLiteral("memoria insufficiente"));
  sheet_ = workbook_add_worksheet(workbook_, kSheetName);
  if (!sheet_) return fail(QStringLiteral("foglio non creato"));
  bold_ = workbook_add_format(workbook_);
  format_set_bold(bold_);
  date_ = workbook_add_format(workbook_);
  format_set_num_format(date_, kDateFormat);
  dateTime_ = workbook_add_format(workbook_);
  format_set_num_format(dateTime_, kDateTimeFormat);
  time_ = workbook_add_format(workbook_);
  format_set_num_format(time_, kTimeFormat);
  return true;
}

bool XlsxWorkbook::writeHeader(const QStringList& names) {
  for (int column = 0; column < names.size(); ++column) {
    const QByteArray name = names.at(column).toUtf8();
    if (!check(worksheet_write_string(sheet_, row_, static_cast<lxw_col_t>(column),
                                      name.constData(), bold_)))
      return false;
  }
  ++row_;
  return true;
}

bool XlsxWorkbook::writeRow(const std::vector<Cell>& cells) {
  for (std::size_t index = 0; index < cells.size(); ++index) {
    const Cell& cell = cells[index];
    const auto column = static_cast<lxw_col_t>(index);
    lxw_error error = LXW_NO_ERROR;
    switch (cell.kind) {
      case Cell::Kind::Empty:
        break;
      case Cell::Kind::Number:
        error = worksheet_write_number(sheet_, row_, column, cell.number, nullptr);
        break;
      case Cell::Kind::Date:
        error = worksheet_write_number(sheet_, row_, column, cell.number, date_);
        break;
      case Cell::Kind::DateTime:
        error = worksheet_write_number(sheet_, row_, column, cell.number, dateTime_);
        break;
      case Cell::Kind::Time:
        error = worksheet_write_number(sheet_, row_, column, cell.number, time_);
        break;
      case Cell::Kind::Boolean:
        error = worksheet_write_boolean(sheet_, row_, column, cell.number != 0, nullptr);
        break;
      case Cell::Kind::Text: {
        const QByteArray text = cell.text.toUtf8();
        error = worksheet_write_string(sheet_, row_, column, text.constData(), nullptr);
        break;
      }
    }
    if (!check(error)) return false;
  }
  ++row_;
  return true;
}

bool XlsxWorkbook::finish() {
  if (!workbook_) return fail(QStringLiteral("file non aperto"));
  // The rows went to the library's temporary file without a check of each
  // write; one that failed (a full temporary folder) would leave rows out
  // of a file that looks complete.
  FILE* rows = sheet_ ? sheet_->optimize_tmpfile : nullptr;
  if (rows && (std::fflush(rows) != 0 || std::ferror(rows)))
    return fail(QStringLiteral("scrittura del file temporaneo delle righe non riuscita"));
  const lxw_error error = workbook_close(workbook_);
  workbook_ = nullptr;
  if (!check(error)) {
    output_->discard();
    return false;
  }
  if (!output_->commit()) return fail(output_->error());
  return true;
}

}  // namespace xendo
