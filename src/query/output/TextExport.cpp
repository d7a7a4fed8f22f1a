#include "query/output/TextExport.h"

#include <cmath>

#include "core/Cp1252.h"
#include "core/OutputFile.h"
#include "db/DataSet.h"
#include "db/Query.h"
#include "db/TextCursor.h"
#include "query/engine/DigitGrouping.h"
#include "query/output/RtfText.h"

namespace query::output {

namespace {

// The size of the blocks of records written at once.
constexpr qsizetype kBlock = 64 * 1024;

bool isMemoOrBlob(db::FieldType type) {
  return type == db::FieldType::Memo || type == db::FieldType::Blob ||
         type == db::FieldType::FmtMemo || type == db::FieldType::Graphic;
}

void blanksForLineBreaks(QByteArray& text) {
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
}

// One column, ready to format: where its field is, how wide, how shown.
struct Column {
  int field;
  int width;
  int grouping;
  bool memo;
};

// Formats the records' lines. A Row gives, for a field of its record,
// isNull(), appendText() (the cell text in Windows-1252) and value().
class RecordFormatter {
 public:
  RecordFormatter(const QList<ExportColumn>& columns, const std::vector<db::FieldInfo>& fields,
                  const TextOptions& options)
      : options_(options), separator_(core::toCp1252(options.separator)) {
    for (const ExportColumn& column : columns) {
      if (column.field < 0 || column.field >= static_cast<int>(fields.size())) continue;
      const db::FieldType type = fields[static_cast<std::size_t>(column.field)].type;
      columns_.push_back(Column{column.field, exportWidth(column),
                                engine::groupsDigits(type) ? column.grouping : 0,
                                isMemoOrBlob(type)});
    }
  }

  template <class Row>
  void appendRecord(const Row& row, QByteArray& line) const {
    for (const Column& column : columns_) {
      const qsizetype start = line.size();
      if (column.grouping == 1 || column.grouping == 2) {
        const QVariant value = row.value(column.field);
        const QString grouped =
            value.isNull() ? QString()
                           : engine::groupedNumber(value.toDouble(), column.grouping == 1 ? 2 : 0,
                                                   options_.locale);
        const QByteArray bytes = core::toCp1252(grouped);
        // Right-aligned in the column's width, as the grid draws it.
        if (bytes.size() < column.width) line.append(column.width - bytes.size(), ' ');
        line += bytes.left(column.width);
      } else if (column.memo && options_.memoInFull) {
        line += memoText(row.value(column.field));
      } else {
        row.appendText(column.field, line);
        if (line.size() - start > column.width) line.truncate(start + column.width);
        for (qsizetype i = start; i < line.size(); ++i)
          if (line[i] == '\r' || line[i] == '\n') line[i] = ' ';
      }
      finishField(line, start, column.width);
    }
    line += "\r\n";
  }

  // Pads to the width (fixed length) or drops trailing blanks, then the separator.
  void finishField(QByteArray& line, qsizetype start, int width) const {
    const qsizetype length = line.size() - start;
    if (options_.fixedLength) {
      if (length < width) line.append(width - length, ' ');
    } else {
      qsizetype end = line.size();
      while (end > start && line[end - 1] == ' ') --end;
      line.truncate(end);
    }
    line += separator_;
  }

 private:
  // A memo whole: its text (read as RTF when asked) with ";" made "," and
  // line breaks made blanks, so that a record stays one line.
  QByteArray memoText(const QVariant& value) const {
    if (value.isNull()) return {};
    QByteArray bytes;
    if (value.typeId() == QMetaType::QByteArray) {
      bytes = value.toByteArray();
    } else {
      QString text = value.toString();
      if (options_.rtfPlain)
        text = rtfToPlainText(text.replace(core::kAcuteAccent, QLatin1Char('\'')));
      bytes = core::toCp1252(text);
    }
    bytes.replace(';', ',');
    blanksForLineBreaks(bytes);
    return bytes;
  }

  const TextOptions& options_;
  QByteArray separator_;
  std::vector<Column> columns_;
};

// A record of the forward-only cursor.
struct CursorRow {
  const db::TextCursor& cursor;
  QVariant value(int field) const { return cursor.value(field); }
  void appendText(int field, QByteArray& out) const {
    cursor.appendText(field, db::TextForm::Cell, out);
  }
};

// A record of rows already fetched.
struct DataSetRow {
  const db::DataSet& rows;
  int row;
  QVariant value(int field) const { return rows.value(row, field); }
  void appendText(int field, QByteArray& out) const {
    out += core::toCp1252(db::cellText(rows.value(row, field), rows.field(field)));
  }
};

[[noreturn]] void fail(const QString& what, const QString& file, const QString& why) {
  throw TextExportError(what.arg(file, why).toStdString());
}

void openFile(core::OutputFile& file) {
  if (!file.open())
    fail(QStringLiteral("Impossibile creare il file %1: %2"), file.path(), file.error());
}

void write(core::OutputFile& file, const QByteArray& bytes) {
  if (!file.write(bytes))
    fail(QStringLiteral("Impossibile scrivere il file %1: %2"), file.path(), file.error());
}

void commit(core::OutputFile& file) {
  if (!file.commit())
    fail(QStringLiteral("Impossibile scrivere il file %1: %2"), file.path(), file.error());
}

void writeHeader(core::OutputFile& file, const QList<ExportColumn>& columns,
                 const TextOptions& options) {
  if (options.headers) write(file, headerLine(columns, options) + "\r\n");
}

}  // namespace

int exportWidth(const ExportColumn& column) {
  return std::max(column.displayWidth, static_cast<int>(column.label.size()));
}

QByteArray headerLine(const QList<ExportColumn>& columns, const TextOptions& options) {
  const QByteArray separator = core::toCp1252(options.separator);
  QByteArray line;
  for (const ExportColumn& column : columns) {
    const int width = exportWidth(column);
    QByteArray text = core::toCp1252(column.name.left(width));
    if (options.fixedLength) {
      if (text.size() < width) text.append(width - text.size(), ' ');
    } else {
      while (text.endsWith(' ')) text.chop(1);
    }
    if (text.isEmpty()) continue;
    line += text + separator;
  }
  return line;
}

namespace {

// Writes the records `next` steps through, `row` reading the current one,
// gathered into blocks that go to the file whole.
template <typename Row, typename Next>
qint64 writeRecords(core::OutputFile& file, const RecordFormatter& formatter, const Row& row,
                    Next next, qint64 total, const Progress& progress) {
  QByteArray block;
  block.reserve(kBlock + 4096);
  qint64 records = 0;
  int shown = -1;
  while (next()) {
    ++records;
    if (progress && total > 0) {
      const int percent = static_cast<int>(
          std::lround(100.0 * static_cast<double>(records) / static_cast<double>(total)));
      if (percent != shown) progress(shown = percent);
    }
    formatter.appendRecord(row(), block);
    if (block.size() >= kBlock) {
      write(file, block);
      block.resize(0);
    }
  }
  write(file, block);
  commit(file);
  return records;
}

std::vector<db::FieldInfo> fieldsOf(const db::DataSet& rows) {
  std::vector<db::FieldInfo> fields;
  for (int i = 0; i < rows.fieldCount(); ++i) fields.push_back(rows.field(i));
  return fields;
}

}  // namespace

qint64 writeStatementText(db::Transaction& transaction, const QStringList& sql,
                          const QList<ExportColumn>& columns, const TextOptions& options,
                          const QString& nativeFile, qint64 total, const Progress& progress) {
  core::OutputFile file(nativeFile);
  openFile(file);
  db::TextCursor cursor(transaction, sql);
  std::vector<db::FieldInfo> fields;
  for (int i = 0; i < cursor.fieldCount(); ++i) fields.push_back(cursor.field(i));
  const RecordFormatter formatter(columns, fields, options);
  writeHeader(file, columns, options);
  const CursorRow row{cursor};
  return writeRecords(
      file, formatter, [&]() -> const CursorRow& { return row; }, [&] { return cursor.next(); },
      total, progress);
}

qint64 writeQueryText(db::Query& rows, const QList<ExportColumn>& columns,
                      const TextOptions& options, const QString& nativeFile, qint64 total,
                      const Progress& progress) {
  core::OutputFile file(nativeFile);
  openFile(file);
  rows.setForwardOnly(true);
  rows.open();
  const RecordFormatter formatter(columns, fieldsOf(rows), options);
  writeHeader(file, columns, options);
  bool first = true;
  return writeRecords(
      file, formatter,
      [&] {
        return DataSetRow{rows, rows.currentRow()};
      },
      [&] {
        if (!first) rows.next();
        first = false;
        return !rows.isEof();
      },
      total, progress);
}

qint64 writeDataSetText(db::DataSet& rows, const QList<ExportColumn>& columns,
                        const TextOptions& options, const QString& nativeFile) {
  core::OutputFile file(nativeFile);
  openFile(file);
  while (rows.canFetchMore() && rows.fetchMore(4096) > 0) {
  }
  std::vector<db::FieldInfo> fields;
  for (int i = 0; i < rows.fieldCount(); ++i) fields.push_back(rows.field(i));
  const RecordFormatter formatter(columns, fields, options);
  writeHeader(file, columns, options);
  QByteArray block;
  for (int row = 0; row < rows.rowCount(); ++row) {
    formatter.appendRecord(DataSetRow{rows, row}, block);
    if (block.size() >= kBlock) {
      write(file, block);
      block.resize(0);
    }
  }
  write(file, block);
  commit(file);
  return rows.rowCount();
}

}  // namespace query::output
