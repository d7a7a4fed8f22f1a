#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <optional>

namespace core {

// One line of our own text file formats (label projects, report files): a
// record name followed by key=value pairs, in order.
struct RecordLine {
  QString name;
  QList<QPair<QString, QString>> pairs;
};

// Splits a line into a record. Values are bare words or double-quoted
// strings in which \" and \\ stand for a quote and a backslash. A malformed
// line gives nothing and the reason in `error`.
std::optional<RecordLine> splitRecordLine(const QString& line, QString& error);

}  // namespace core
