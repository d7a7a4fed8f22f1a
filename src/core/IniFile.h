#pragma once

#include <QString>
#include <QStringList>

// A Windows INI file read and written with the semantics of the Windows
// profile functions: the file is read afresh on every call, section and key
// names compare case-insensitively, a missing file or key reads as the
// default, writing creates the file and the section, and the bytes are
// Windows-1252. The path is a stored path.
namespace core {

class IniFile {
 public:
  explicit IniFile(QString storedPath);

  QString read(const QString& section, const QString& key,
               const QString& defaultValue = QString()) const;
  // Returns false when the file cannot be written (its folder must exist).
  bool write(const QString& section, const QString& key, const QString& value) const;
  QStringList sections() const;
  QStringList keys(const QString& section) const;

  const QString& path() const { return path_; }

 private:
  QString path_;
};

}  // namespace core
