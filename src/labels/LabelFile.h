#pragma once

#include <QByteArray>
#include <QString>

namespace labels {

// The lines of a label file read whole: Windows-1252 text whose lines end in
// CR LF or LF. The terminator of the last line does not start another line;
// an empty line between two terminators is a line.
class LabelFile {
 public:
  explicit LabelFile(QByteArray bytes);

  int lineCount() const { return lineCount_; }
  // The next line without its terminator; false after the last one.
  bool next(QString& line);

 private:
  QByteArray bytes_;
  qsizetype position_ = 0;
  int lineCount_ = 0;
};

}  // namespace labels
