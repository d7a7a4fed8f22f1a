#include "core/RecordLine.h"

namespace core {

std::optional<RecordLine> splitRecordLine(const QString& line, QString& error) {
  RecordLine record;
  qsizetype i = 0;
  const qsizetype n = line.size();
  const auto skipBlanks = [&] {
    while (i < n && line.at(i).isSpace()) ++i;
  };
  skipBlanks();
  while (i < n && !line.at(i).isSpace()) record.name += line.at(i++);
  for (skipBlanks(); i < n; skipBlanks()) {
    QString key;
    while (i < n && line.at(i) != QLatin1Char('=') && !line.at(i).isSpace()) key += line.at(i++);
    if (i >= n || line.at(i) != QLatin1Char('=') || key.isEmpty()) {
      error = QStringLiteral("atteso chiave=valore invece di \"%1\"").arg(key);
      return std::nullopt;
    }
    ++i;
    QString value;
    if (i < n && line.at(i) == QLatin1Char('"')) {
      bool closed = false;
      for (++i; i < n;) {
        const QChar c = line.at(i++);
        if (c == QLatin1Char('"')) {
          closed = true;
          break;
        }
        value += c == QLatin1Char('\\') && i < n ? line.at(i++) : c;
      }
      if (!closed) {
        error = QStringLiteral("virgolette non chiuse nel valore di %1").arg(key);
        return std::nullopt;
      }
      if (i < n && !line.at(i).isSpace()) {
        error = QStringLiteral("manca uno spazio dopo il valore di %1").arg(key);
        return std::nullopt;
      }
    } else {
      while (i < n && !line.at(i).isSpace()) value += line.at(i++);
    }
    record.pairs.append({key, value});
  }
  return record;
}

RecordFields::RecordFields(const RecordLine& record) {
  for (const auto& [key, value] : record.pairs) {
    if (values_.contains(key)) fail(QStringLiteral("chiave %1 ripetuta").arg(key));
    values_.insert(key, value);
  }
}

QString RecordFields::take(const QString& key, const QString& fallback) {
  used_.insert(key);
  return values_.value(key, fallback);
}

void RecordFields::fail(const QString& message) {
  if (error_.isEmpty()) error_ = message;
}

QString RecordFields::error() const {
  if (!error_.isEmpty()) return error_;
  for (auto it = values_.cbegin(); it != values_.cend(); ++it)
    if (!used_.contains(it.key())) return QStringLiteral("chiave sconosciuta %1").arg(it.key());
  return {};
}

}  // namespace core
