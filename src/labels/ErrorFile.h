#pragma once

#include <QString>
#include <QStringList>

// A statement that failed is kept as a text file beside the program (the bin
// directory) so that it can be inspected; the message names the file.
namespace labels {

// Writes the statement's lines (CR LF between them, Windows-1252) to binDir +
// fileName, replacing an earlier file, and returns the stored path written.
// A file that cannot be written is passed over: the message still names it.
QString saveFailedStatement(const QString& binDir, const QString& fileName,
                            const QStringList& lines);

}  // namespace labels
