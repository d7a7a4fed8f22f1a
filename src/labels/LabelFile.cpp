#include "labels/LabelFile.h"

#include "core/Cp1252.h"

namespace labels {

LabelFile::LabelFile(QByteArray bytes) : bytes_(std::move(bytes)) {
  lineCount_ = static_cast<int>(bytes_.count('\n'));
  if (!bytes_.isEmpty() && !bytes_.endsWith('\n')) ++lineCount_;
}

bool LabelFile::next(QString& line) {
  if (position_ >= bytes_.size()) return false;
  qsizetype end = bytes_.indexOf('\n', position_);
  const qsizetype after = end < 0 ? bytes_.size() : end + 1;
  if (end < 0) end = bytes_.size();
  if (end > position_ && bytes_.at(end - 1) == '\r') --end;
  line = core::fromCp1252(QByteArray::fromRawData(bytes_.constData() + position_, end - position_));
  position_ = after;
  return true;
}

}  // namespace labels
