#include "CompoundFile.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace xendo {

namespace {

constexpr quint32 kSectorSize = 512;
constexpr quint32 kMiniStreamCutoff = 4096;
constexpr quint32 kEntriesPerSector = kSectorSize / 4;
constexpr quint32 kHeaderDifatEntries = 109;
constexpr quint32 kDirectoryEntrySize = 128;

constexpr quint32 kFreeSector = 0xFFFFFFFF;
constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kFatSector = 0xFFFFFFFD;
constexpr quint32 kDifatSector = 0xFFFFFFFC;
constexpr quint32 kNoStream = 0xFFFFFFFF;

quint32 sectorsFor(quint64 bytes, quint32 perSector) {
  return static_cast<quint32>((bytes + perSector - 1) / perSector);
}

void put16(QByteArray& bytes, int offset, quint16 value) {
  qToLittleEndian(value, bytes.data() + offset);
}
void put32(QByteArray& bytes, int offset, quint32 value) {
  qToLittleEndian(value, bytes.data() + offset);
}

// A directory entry: its name in UTF-16 with the terminating zero.
QByteArray directoryEntry(const char16_t* name, quint8 type, quint32 child, quint32 start,
                          quint32 size) {
  QByteArray entry(kDirectoryEntrySize, '\0');
  int length = 0;
  for (; name[length]; ++length) put16(entry, length * 2, name[length]);
  put16(entry, 64, static_cast<quint16>((length + 1) * 2));
  entry[66] = static_cast<char>(type);
  entry[67] = 1;                // black in the red-black tree
  put32(entry, 68, kNoStream);  // left sibling
  put32(entry, 72, kNoStream);  // right sibling
  put32(entry, 76, child);
  put32(entry, 116, start);
  put32(entry, 120, size);
  return entry;
}

QByteArray unusedEntry() {
  QByteArray entry(kDirectoryEntrySize, '\0');
  put32(entry, 68, kNoStream);
  put32(entry, 72, kNoStream);
  put32(entry, 76, kNoStream);
  return entry;
}

}  // namespace

bool writeCompoundFile(const std::vector<QByteArray>& stream,
                       const std::function<bool(const QByteArray&)>& write) {
  quint64 content = 0;
  for (const QByteArray& part : stream) content += static_cast<quint64>(part.size());
  const quint64 streamSize = std::max<quint64>(content, kMiniStreamCutoff);
  if (streamSize > 0xFFFFFFFFull - kSectorSize) return false;

  // Sectors: the stream, one directory sector, the FAT, the DIFAT. The FAT
  // covers every sector, its own included, so its size is found by trying.
  const quint32 streamSectors = sectorsFor(streamSize, kSectorSize);
  const quint32 directorySector = streamSectors;
  quint32 fatSectors = 1;
  quint32 difatSectors = 0;
  for (;;) {
    const quint32 total = streamSectors + 1 + fatSectors + difatSectors;
    const quint32 neededFat = sectorsFor(total, kEntriesPerSector);
    const quint32 neededDifat =
        neededFat > kHeaderDifatEntries
            ? sectorsFor(neededFat - kHeaderDifatEntries, kEntriesPerSector - 1)
            : 0;
    if (neededFat == fatSectors && neededDifat == difatSectors) break;
    fatSectors = neededFat;
    difatSectors = neededDifat;
  }
  const quint32 firstFat = directorySector + 1;
  const quint32 firstDifat = firstFat + fatSectors;

  QByteArray header(kSectorSize, '\0');
  static const unsigned char signature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  std::memcpy(header.data(), signature, sizeof signature);
  put16(header, 24, 0x003E);  // minor version
  put16(header, 26, 0x0003);  // major version: 512-byte sectors
  put16(header, 28, 0xFFFE);  // little-endian
  put16(header, 30, 9);       // sector size 2^9
  put16(header, 32, 6);       // mini sector size 2^6
  put32(header, 44, fatSectors);
  put32(header, 48, directorySector);
  put32(header, 56, kMiniStreamCutoff);
  put32(header, 60, kEndOfChain);  // no mini FAT
  put32(header, 68, difatSectors ? firstDifat : kEndOfChain);
  put32(header, 72, difatSectors);
  for (quint32 i = 0; i < kHeaderDifatEntries; ++i)
    put32(header, static_cast<int>(76 + i * 4), i < fatSectors ? firstFat + i : kFreeSector);
  if (!write(header)) return false;

  for (const QByteArray& part : stream)
    if (!part.isEmpty() && !write(part)) return false;
  const quint64 padding = static_cast<quint64>(streamSectors) * kSectorSize - content;
  if (padding && !write(QByteArray(static_cast<qsizetype>(padding), '\0'))) return false;

  QByteArray directory;
  directory += directoryEntry(u"Root Entry", 5, 1, kEndOfChain, 0);
  directory += directoryEntry(u"Workbook", 2, kNoStream, 0, static_cast<quint32>(streamSize));
  directory += unusedEntry();
  directory += unusedEntry();
  if (!write(directory)) return false;

  QByteArray fat(static_cast<qsizetype>(fatSectors) * kSectorSize, '\xFF');
  const auto setFat = [&fat](quint32 sector, quint32 value) {
    put32(fat, static_cast<int>(sector * 4), value);
  };
  for (quint32 sector = 0; sector + 1 < streamSectors; ++sector) setFat(sector, sector + 1);
  setFat(streamSectors - 1, kEndOfChain);
  setFat(directorySector, kEndOfChain);
  for (quint32 i = 0; i < fatSectors; ++i) setFat(firstFat + i, kFatSector);
  for (quint32 i = 0; i < difatSectors; ++i) setFat(firstDifat + i, kDifatSector);
  if (!write(fat)) return false;

  // Each DIFAT sector lists 127 FAT sectors beyond the header's 109 and
  // ends with the next DIFAT sector.
  for (quint32 i = 0; i < difatSectors; ++i) {
    QByteArray difat(kSectorSize, '\xFF');
    for (quint32 slot = 0; slot + 1 < kEntriesPerSector; ++slot) {
      const quint32 fatIndex = kHeaderDifatEntries + i * (kEntriesPerSector - 1) + slot;
      if (fatIndex < fatSectors) put32(difat, static_cast<int>(slot * 4), firstFat + fatIndex);
    }
    put32(difat, static_cast<int>((kEntriesPerSector - 1) * 4),
          i + 1 < difatSectors ? firstDifat + i + 1 : kEndOfChain);
    if (!write(difat)) return false;
  }
  return true;
}

}  // namespace xendo
