#include "core/IniFile.h"

#include <QFile>
#include <QSaveFile>

#include "core/Cp1252.h"
#include "core/Paths.h"

namespace core {

namespace {

struct Line {
  QString text;
  QString section;  // set on a "[section]" line
  QString key;      // set on a "key=value" line
  QString value;
};

QList<Line> readLines(const QString& storedFile) {
  QList<Line> lines;
  QFile file(nativePath(storedFile));
  if (!file.open(QIODevice::ReadOnly)) return lines;
  const QString content = fromCp1252(file.readAll());
  for (QString text : content.split('\n')) {
    if (text.endsWith('\r')) text.chop(1);
    Line line{text, {}, {}, {}};
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith('[')) {
      const int close = trimmed.indexOf(']');
      line.section = (close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1)).trimmed();
    } else if (!trimmed.startsWith(';')) {
      const int eq = trimmed.indexOf('=');
      if (eq > 0) {
        line.key = trimmed.left(eq).trimmed();
        line.value = trimmed.mid(eq + 1).trimmed();
      }
    }
    lines.append(line);
  }
  if (!lines.isEmpty() && lines.last().text.isEmpty()) lines.removeLast();
  return lines;
}

bool same(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Windows drops one pair of matching quotes around a value.
QString unquote(const QString& value) {
  if (value.size() >= 2) {
    const QChar first = value.front();
    if ((first == '"' || first == '\'') && value.back() == first)
      return value.mid(1, value.size() - 2);
  }
  return value;
}

}  // namespace

IniFile::IniFile(QString storedPath) : path_(std::move(storedPath)) {}

QString IniFile::read(const QString& section, const QString& key,
                      const QString& defaultValue) const {
  bool inSection = false;
  for (const Line& line : readLines(path_)) {
    if (!line.section.isNull()) {
      inSection = same(line.section, section);
    } else if (inSection && !line.key.isEmpty() && same(line.key, key)) {
      return unquote(line.value);
    }
  }
  return defaultValue;
}

QStringList IniFile::sections() const {
  QStringList names;
  for (const Line& line : readLines(path_))
    if (!line.section.isNull()) names.append(line.section);
  return names;
}

QStringList IniFile::keys(const QString& section) const {
  QStringList names;
  bool inSection = false;
  for (const Line& line : readLines(path_)) {
    if (!line.section.isNull())
      inSection = same(line.section, section);
    else if (inSection && !line.key.isEmpty())
      names.append(line.key);
  }
  return names;
}

bool IniFile::write(const QString& section, const QString& key, const QString& value) const {
  QList<Line> lines = readLines(path_);
  int sectionLine = -1;
  for (int i = 0; i < lines.size() && sectionLine < 0; ++i)
    if (!lines[i].section.isNull() && same(lines[i].section, section)) sectionLine = i;
  // Within the section: the key's line, and the last non-blank line, after
  // which a new key goes.
  int keyLine = -1;
  int lastOfSection = sectionLine;
  for (int i = sectionLine + 1; sectionLine >= 0 && i < lines.size(); ++i) {
    if (!lines[i].section.isNull()) break;
    if (!lines[i].text.trimmed().isEmpty()) lastOfSection = i;
    if (keyLine < 0 && !lines[i].key.isEmpty() && same(lines[i].key, key)) keyLine = i;
  }
  const QString entry = key + '=' + value;
  if (keyLine >= 0) {
    lines[keyLine].text = lines[keyLine].key + '=' + value;  // the stored spelling stays
  } else if (sectionLine >= 0) {
    lines.insert(lastOfSection + 1, Line{entry, {}, {}, {}});
  } else {
    lines.append(Line{'[' + section + ']', {}, {}, {}});
    lines.append(Line{entry, {}, {}, {}});
  }

  // Like the Windows function, the file is created but its folder is not.
  QSaveFile file(nativePath(path_));
  if (!file.open(QIODevice::WriteOnly)) return false;
  for (const Line& line : lines) file.write(toCp1252(line.text) + "\r\n");
  return file.commit();
}

}  // namespace core
