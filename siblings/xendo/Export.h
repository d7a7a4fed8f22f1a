#pragma once

#include <QString>
#include <QStringList>

// The export behind both functions of the library: the statement's answer,
// read through a connection of its own, written as a workbook.
namespace xendo {

enum class Format { Xls, Xlsx };

struct Request {
  QString sql;
  QString database;
  QString directory;  // stored form
  QString fileName;
  QString templateWorkbook;
};

// The function's result (Xendo.h) and the text XendoLastError() gives.
struct Outcome {
  int result = 0;
  QString message;
};

Outcome exportWorkbook(Format format, const Request& request);

// The target in stored form: the directory, a backslash when it ends in
// none, the file name.
QString targetPath(const QString& directory, const QString& fileName);

// The statement's lines, whichever line breaks separate them.
QStringList statementLines(const QString& sql);

}  // namespace xendo
