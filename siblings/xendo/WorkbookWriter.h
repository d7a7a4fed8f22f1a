#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "Cell.h"

// What the export hands the rows to: one sheet written row by row into a
// file that appears only when finish() succeeds.
namespace xendo {

class WorkbookWriter {
 public:
  virtual ~WorkbookWriter() = default;

  // The most rows (the header included) and columns a sheet holds.
  virtual int maxRows() const = 0;
  virtual int maxColumns() const = 0;

  // Starts the file at the native path. False with error() set.
  virtual bool open(const QString& path) = 0;
  // The header row: the column names in bold.
  virtual bool writeHeader(const QStringList& names) = 0;
  // The next row, one cell per column.
  virtual bool writeRow(const std::vector<Cell>& cells) = 0;
  // Completes the file and puts it in place. False with error() set and
  // nothing left behind.
  virtual bool finish() = 0;

  const QString& error() const { return error_; }

 protected:
  bool fail(const QString& error) {
    error_ = error;
    return false;
  }

 private:
  QString error_;
};

}  // namespace xendo
