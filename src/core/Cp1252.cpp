#include "core/Cp1252.h"

#include <array>

namespace core {

namespace {

// Bytes 0x80..0x9F; 0 marks the five bytes that Windows-1252 leaves unassigned,
// which decode to the C1 control of the same value.
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char encodeOne(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (std::size_t i = 0; i < kHighTable.size(); ++i) {
    const char16_t mapped = kHighTable[i] ? kHighTable[i] : static_cast<char16_t>(0x80 + i);
    if (mapped == c) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

QString fromCp1252(const QByteArray& bytes) {
  QString text;
  text.reserve(bytes.size());
  for (const char raw : bytes) {
    const auto b = static_cast<unsigned char>(raw);
    if (b >= 0x80 && b <= 0x9F) {
      const char16_t mapped = kHighTable[b - 0x80];
      text.append(QChar(mapped ? mapped : b));
    } else {
      text.append(QChar(b));
    }
  }
  return text;
}

QByteArray toCp1252(const QString& text) {
  QByteArray bytes;
  bytes.reserve(text.size());
  for (const QChar c : text) bytes.append(encodeOne(c.unicode()));
  return bytes;
}

QString apostrophesToAcute(QString text) {
  return text.replace(QChar('\''), kAcuteAccent);
}

}  // namespace core
