#pragma once

#include <QString>
#include <QStringList>

namespace core {

// Writes lines as a Windows-1252 text file, each line ended by CR LF (the
// way the saved ".sql" files of failed statements are read on Windows),
// replacing any earlier file. The path is a stored path. Returns false when
// the file cannot be written.
bool writeTextLines(const QString& storedPath, const QStringList& lines);

}  // namespace core
