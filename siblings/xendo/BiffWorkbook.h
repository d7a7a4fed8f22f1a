#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

#include "Cell.h"

// The "Workbook" stream of an Excel 97-2003 file (BIFF8) with one sheet,
// built in memory: the workbook globals (code page, fonts, number formats,
// cell formats, the sheet's entry, the shared string table) and the sheet
// (its dimensions, cells, window). Texts go to the shared string table once
// each, the cells refer to them.
namespace xendo {

class BiffWorkbook {
 public:
  // A sheet holds 65,536 rows and 256 columns.
  static constexpr int kMaxRows = 65536;
  static constexpr int kMaxColumns = 256;

  // Cells of the next row; the header row is in bold. The caller keeps to
  // the sheet's limits and to texts of at most kMaxCellText characters.
  void addHeader(const QStringList& names);
  void addRow(const std::vector<Cell>& cells);

  // The stream as consecutive parts (the sheet's cells are not copied).
  std::vector<QByteArray> stream() const;

 private:
  void addText(int column, const QString& text, quint16 format);
  void addNumber(int column, double value, quint16 format);
  void noteCell(int column);
  quint32 stringIndex(const QString& text);
  // The workbook globals; `sheetOffsetField` gets the place of the sheet's
  // stream position, to be filled in.
  QByteArray globals(qsizetype& sheetOffsetField) const;
  QByteArray sharedStrings(quint32 position) const;

  int row_ = 0;
  int lastColumn_ = -1;
  QByteArray cells_;
  QHash<QString, quint32> stringIndexes_;
  QStringList strings_;
  quint32 stringReferences_ = 0;
};

}  // namespace xendo
