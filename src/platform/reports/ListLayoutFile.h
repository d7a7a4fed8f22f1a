#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "platform/reports/ListLayout.h"

namespace platform::reports {

// Reads a list project: Windows-1252 text, sections in brackets, keys with
// their values, column lines whose texts stand between the project's quote
// characters. False with `error` set when the text is no list project (no
// page layout, no list object, a column line that cannot be read).
bool parseListLayout(const QByteArray& bytes, ListLayout& layout, QString& error);
bool loadListLayout(const QString& nativePath, ListLayout& layout, QStringList& lines,
                    QString& error);

// The font text of a project ("{(R,G,B),size,height,...,weight,italic,
// underline,strikeout,...,name}") and back.
bool parseListFont(const QString& text, ListFont& font);
QString listFontText(const ListFont& font);

// The project's text lines and their bytes.
QStringList listLayoutLines(const QByteArray& bytes);
QByteArray listLayoutBytes(const QStringList& lines);

}  // namespace platform::reports
