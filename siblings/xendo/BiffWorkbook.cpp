#include "BiffWorkbook.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

#include "SheetFormats.h"

namespace xendo {

namespace {

// Record types.
constexpr quint16 kBof = 0x0809;
constexpr quint16 kEof = 0x000A;
constexpr quint16 kCodePage = 0x0042;
constexpr quint16 kWindow1 = 0x003D;
constexpr quint16 kDateMode = 0x0022;
constexpr quint16 kFont = 0x0031;
constexpr quint16 kFormat = 0x041E;
constexpr quint16 kXf = 0x00E0;
constexpr quint16 kStyle = 0x0293;
constexpr quint16 kBoundSheet = 0x0085;
constexpr quint16 kSst = 0x00FC;
constexpr quint16 kContinue = 0x003C;
constexpr quint16 kExtSst = 0x00FF;
constexpr quint16 kDimensions = 0x0200;
constexpr quint16 kWindow2 = 0x023E;
constexpr quint16 kNumber = 0x0203;
constexpr quint16 kLabelSst = 0x00FD;
constexpr quint16 kBoolErr = 0x0205;

// The most data one record carries; longer data goes on in CONTINUE records.
constexpr qsizetype kMaxRecordData = 8224;

// Number formats of our own start at 164; cell formats (XF) 0 to 14 are the
// style formats every workbook has, 15 the default cell format.
constexpr quint16 kDateFormatIndex = 164;
constexpr quint16 kDateTimeFormatIndex = 165;
constexpr quint16 kTimeFormatIndex = 166;
constexpr quint16 kDefaultXf = 15;
constexpr quint16 kDateXf = 16;
constexpr quint16 kDateTimeXf = 17;
constexpr quint16 kTimeXf = 18;
constexpr quint16 kHeaderXf = 19;
// Font 4 does not exist in BIFF: the fifth font written is number 5.
constexpr quint16 kBoldFont = 5;

void put8(QByteArray& out, quint8 value) {
  out.append(static_cast<char>(value));
}
void put16(QByteArray& out, quint16 value) {
  char bytes[2];
  qToLittleEndian(value, bytes);
  out.append(bytes, 2);
}
void put32(QByteArray& out, quint32 value) {
  char bytes[4];
  qToLittleEndian(value, bytes);
  out.append(bytes, 4);
}
void putDouble(QByteArray& out, double value) {
  quint64 bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  char bytes[8];
  qToLittleEndian(bits, bytes);
  out.append(bytes, 8);
}

void record(QByteArray& out, quint16 type, const QByteArray& data) {
  put16(out, type);
  put16(out, static_cast<quint16>(data.size()));
  out += data;
}

bool needsWideCharacters(const QString& text) {
  return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0xFF; });
}

// Characters one byte each when all fit in Latin-1, else UTF-16.
void putCharacters(QByteArray& out, const QString& text, qsizetype from, qsizetype count,
                   bool wide) {
  for (qsizetype i = from; i < from + count; ++i) {
    const char16_t unit = text.at(i).unicode();
    if (wide)
      put16(out, unit);
    else
      put8(out, static_cast<quint8>(unit));
  }
}

// A string with an 8-bit length (sheet and font names).
void putShortString(QByteArray& out, const QString& text) {
  const bool wide = needsWideCharacters(text);
  put8(out, static_cast<quint8>(text.size()));
  put8(out, wide ? 1 : 0);
  putCharacters(out, text, 0, text.size(), wide);
}

// A string with a 16-bit length (number formats).
void putString(QByteArray& out, const QString& text) {
  const bool wide = needsWideCharacters(text);
  put16(out, static_cast<quint16>(text.size()));
  put8(out, wide ? 1 : 0);
  putCharacters(out, text, 0, text.size(), wide);
}

QByteArray bof(quint16 kind) {
  QByteArray data;
  put16(data, 0x0600);  // BIFF8
  put16(data, kind);    // 0x0005 workbook globals, 0x0010 worksheet
  put16(data, 0x0DBB);  // build
  put16(data, 0x07CC);  // year
  put32(data, 0);       // file history
  put32(data, 0x0006);  // lowest version that reads the file
  QByteArray out;
  record(out, kBof, data);
  return out;
}

QByteArray font(bool bold) {
  QByteArray data;
  put16(data, 200);                // 10 points, in twentieths
  put16(data, bold ? 0x0001 : 0);  // bold (older readers), no italic
  put16(data, 0x7FFF);             // automatic colour
  put16(data, bold ? 700 : 400);
  put16(data, 0);  // no super- or subscript
  put8(data, 0);   // no underline
  put8(data, 0);   // family
  put8(data, 0);   // character set
  put8(data, 0);
  putShortString(data, QStringLiteral("Arial"));
  return data;
}

QByteArray format(quint16 index, const char* text) {
  QByteArray data;
  put16(data, index);
  putString(data, QString::fromLatin1(text));
  return data;
}

// A cell format (XF). A style format has no parent; a cell format names the
// attributes it sets itself (number format, font) instead of the style's.
QByteArray xf(quint16 fontIndex, quint16 formatIndex, bool style) {
  QByteArray data;
  put16(data, fontIndex);
  put16(data, formatIndex);
  put16(data, style ? 0xFFF5 : 0x0001);  // locked; a style's parent is 0xFFF
  put8(data, 0x20);                      // general alignment, bottom
  put8(data, 0);                         // no rotation
  put8(data, 0);                         // no indent
  quint8 used = 0;
  if (!style) {
    if (formatIndex) used |= 0x04;
    if (fontIndex) used |= 0x08;
  }
  put8(data, used);
  put32(data, 0);       // no borders
  put32(data, 0);       // no border colours, no diagonals
  put16(data, 0x20C0);  // default pattern colours
  return data;
}

}  // namespace

quint32 BiffWorkbook::stringIndex(const QString& text) {
  ++stringReferences_;
  const auto found = stringIndexes_.constFind(text);
  if (found != stringIndexes_.cend()) return found.value();
  const auto index = static_cast<quint32>(strings_.size());
  stringIndexes_.insert(text, index);
  strings_.append(text);
  return index;
}

void BiffWorkbook::noteCell(int column) {
  lastColumn_ = std::max(lastColumn_, column);
}

void BiffWorkbook::addText(int column, const QString& text, quint16 format) {
  const quint32 index = stringIndex(text);
  put16(cells_, kLabelSst);
  put16(cells_, 10);
  put16(cells_, static_cast<quint16>(row_));
  put16(cells_, static_cast<quint16>(column));
  put16(cells_, format);
  put32(cells_, index);
  noteCell(column);
}

void BiffWorkbook::addNumber(int column, double value, quint16 format) {
  put16(cells_, kNumber);
  put16(cells_, 14);
  put16(cells_, static_cast<quint16>(row_));
  put16(cells_, static_cast<quint16>(column));
  put16(cells_, format);
  putDouble(cells_, value);
  noteCell(column);
}

void BiffWorkbook::addHeader(const QStringList& names) {
  for (int column = 0; column < names.size(); ++column)
    addText(column, names.at(column), kHeaderXf);
  ++row_;
}

void BiffWorkbook::addRow(const std::vector<Cell>& cells) {
  for (std::size_t index = 0; index < cells.size(); ++index) {
    const Cell& cell = cells[index];
    const int column = static_cast<int>(index);
    switch (cell.kind) {
      case Cell::Kind::Empty:
        break;
      case Cell::Kind::Number:
        addNumber(column, cell.number, kDefaultXf);
        break;
      case Cell::Kind::Date:
        addNumber(column, cell.number, kDateXf);
        break;
      case Cell::Kind::DateTime:
        addNumber(column, cell.number, kDateTimeXf);
        break;
      case Cell::Kind::Time:
        addNumber(column, cell.number, kTimeXf);
        break;
      case Cell::Kind::Boolean:
        put16(cells_, kBoolErr);
        put16(cells_, 8);
        put16(cells_, static_cast<quint16>(row_));
        put16(cells_, static_cast<quint16>(column));
        put16(cells_, kDefaultXf);
        put8(cells_, cell.number != 0 ? 1 : 0);
        put8(cells_, 0);  // a boolean, not an error
        noteCell(column);
        break;
      case Cell::Kind::Text:
        addText(column, cell.text, kDefaultXf);
        break;
    }
  }
  ++row_;
}

// The shared string table: the counts, then each string as its length, a
// flag for two-byte characters and the characters. A record that fills up
// goes on in a CONTINUE record; a string's length and flag never part, and
// a string cut in two starts its rest with the flag again. Then the index
// of the table (EXTSST): where every bucket's first string starts, in the
// stream and in its record. `position` is the table's place in the stream.
QByteArray BiffWorkbook::sharedStrings(quint32 position) const {
  const auto count = static_cast<quint32>(strings_.size());
  // Buckets of at least 8 strings, at most 128 buckets.
  const quint32 perBucket = std::max<quint32>(8, (count + 127) / 128);
  QByteArray index;
  put16(index, static_cast<quint16>(perBucket));

  QByteArray out;
  QByteArray data;
  quint16 type = kSst;
  put32(data, stringReferences_);
  put32(data, count);
  const auto endRecord = [&] {
    record(out, type, data);
    data.clear();
    type = kContinue;
  };
  for (quint32 i = 0; i < count; ++i) {
    const QString& text = strings_.at(i);
    const bool wide = needsWideCharacters(text);
    const qsizetype width = wide ? 2 : 1;
    if (kMaxRecordData - data.size() < 3 + (text.isEmpty() ? 0 : width)) endRecord();
    if (i % perBucket == 0) {
      const auto inRecord = static_cast<quint32>(4 + data.size());
      put32(index, position + static_cast<quint32>(out.size()) + inRecord);
      put16(index, static_cast<quint16>(inRecord));
      put16(index, 0);
    }
    put16(data, static_cast<quint16>(text.size()));
    put8(data, wide ? 1 : 0);
    qsizetype done = 0;
    while (done < text.size()) {
      const qsizetype room = (kMaxRecordData - data.size()) / width;
      if (room == 0) {
        endRecord();
        put8(data, wide ? 1 : 0);
        continue;
      }
      const qsizetype taken = std::min(room, text.size() - done);
      putCharacters(data, text, done, taken, wide);
      done += taken;
    }
  }
  endRecord();
  record(out, kExtSst, index);
  return out;
}

QByteArray BiffWorkbook::globals(qsizetype& sheetOffsetField) const {
  QByteArray out = bof(0x0005);
  QByteArray data;
  put16(data, 1200);  // strings in UTF-16
  record(out, kCodePage, data);

  data.clear();
  put16(data, 0);  // window position
  put16(data, 0);
  put16(data, 16000);  // window size, in twips
  put16(data, 9000);
  put16(data, 0x0038);  // scroll bars and sheet tabs shown
  put16(data, 0);       // the first sheet is the active one
  put16(data, 0);       // and the first tab shown
  put16(data, 1);       // one sheet selected
  put16(data, 600);     // width of the tab area
  record(out, kWindow1, data);

  data.clear();
  put16(data, 0);  // the 1900 date system
  record(out, kDateMode, data);

  for (int i = 0; i < 4; ++i) record(out, kFont, font(false));
  record(out, kFont, font(true));

  record(out, kFormat, format(kDateFormatIndex, kDateFormat));
  record(out, kFormat, format(kDateTimeFormatIndex, kDateTimeFormat));
  record(out, kFormat, format(kTimeFormatIndex, kTimeFormat));

  for (int i = 0; i < 15; ++i) record(out, kXf, xf(0, 0, true));
  record(out, kXf, xf(0, 0, false));
  record(out, kXf, xf(0, kDateFormatIndex, false));
  record(out, kXf, xf(0, kDateTimeFormatIndex, false));
  record(out, kXf, xf(0, kTimeFormatIndex, false));
  record(out, kXf, xf(kBoldFont, 0, false));

  data.clear();
  put16(data, 0x8000);  // built-in style of XF 0: Normal
  put8(data, 0);
  put8(data, 0xFF);
  record(out, kStyle, data);

  data.clear();
  sheetOffsetField = out.size() + 4;
  put32(data, 0);  // where the sheet's BOF starts in the stream, set later
  put16(data, 0);  // visible worksheet
  putShortString(data, QString::fromLatin1(kSheetName));
  record(out, kBoundSheet, data);

  out += sharedStrings(static_cast<quint32>(out.size()));
  record(out, kEof, {});
  return out;
}

std::vector<QByteArray> BiffWorkbook::stream() const {
  // The sheet starts right after the globals.
  qsizetype sheetOffsetField = 0;
  QByteArray head = globals(sheetOffsetField);
  qToLittleEndian(static_cast<quint32>(head.size()), head.data() + sheetOffsetField);
  head += bof(0x0010);

  QByteArray data;
  put32(data, 0);  // first row
  put32(data, static_cast<quint32>(row_));
  put16(data, 0);  // first column
  put16(data, static_cast<quint16>(lastColumn_ + 1));
  put16(data, 0);
  record(head, kDimensions, data);

  // The sheet's window follows its cells.
  data.clear();
  put16(data, 0x06B6);  // grid, headings, zeros shown; selected, active
  put16(data, 0);       // top row
  put16(data, 0);       // left column
  put32(data, 64);      // grid line colour: automatic
  put16(data, 0);       // zoom: default
  put16(data, 0);
  put32(data, 0);
  QByteArray tail;
  record(tail, kWindow2, data);
  record(tail, kEof, {});
  return {head, cells_, tail};
}

}  // namespace xendo
