#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QSet>
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

// The values of one record by key, for a format's reader: every key must be
// read, none may stand twice, and the first problem met is kept.
class RecordFields {
 public:
  explicit RecordFields(const RecordLine& record);

  bool has(const QString& key) const { return values_.contains(key); }
  // The value of a key, which counts as read; `fallback` when it is absent.
  QString take(const QString& key, const QString& fallback = {});
  // Keeps `message` unless a problem was met before.
  void fail(const QString& message);
  // The first problem, a key repeated or never read included; empty when
  // there is none.
  QString error() const;

 private:
  QMap<QString, QString> values_;
  QSet<QString> used_;
  QString error_;
};

}  // namespace core
