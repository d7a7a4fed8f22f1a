#pragma once

#include <QByteArray>
#include <functional>
#include <vector>

// The compound file (OLE2 structured storage, version 3, 512-byte sectors)
// that holds an Excel 97-2003 workbook: a single stream named "Workbook".
//
// The stream lies in consecutive sectors after the header, followed by the
// directory sector, the allocation table (FAT) sectors and, when the table
// needs more than the 109 sectors the header lists, the DIFAT sectors that
// list the rest. A stream shorter than 4,096 bytes would belong to the mini
// stream; it is padded with zeros to 4,096 bytes instead, which readers of
// a workbook ignore after its last end-of-file record.
namespace xendo {

// The whole file, handed to `write` piece by piece in order; false as soon
// as a write fails. `stream` is the stream's content as consecutive parts.
bool writeCompoundFile(const std::vector<QByteArray>& stream,
                       const std::function<bool(const QByteArray&)>& write);

}  // namespace xendo
