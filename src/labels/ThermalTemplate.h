#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include "labels/LabelVariables.h"

// The text of a thermal label: a template whose tags are replaced by the
// label's values, sent unchanged, so that it can hold the printer's own
// command language (ZPL, EPL ...). Text only: no database, no printer.
namespace labels {

// The tags of a thermal template and their values, in the order they are
// replaced. They carry the label variables, except for a description
// without "-": "<Descrizione>" then holds the whole description and
// "<Descrizione1>" nothing, the opposite of the label engine's variables.
QList<QPair<QString, QString>> thermalTags(const LabelRow& row, bool excludeSerial);

// Every occurrence of every tag (exact letter case) in every line, tag after tag.
QStringList renderThermalTemplate(const QStringList& lines,
                                  const QList<QPair<QString, QString>>& tags);

// The bytes sent to the printer: the lines joined by CR LF, in Windows-1252.
// No line end follows the last line; a printer that needs one gets it from
// the template.
QByteArray thermalDocument(const QStringList& renderedLines);

// The lines of a template file's bytes, read as Windows-1252 and split at
// CR LF, LF or CR.
QStringList thermalTemplateLines(const QByteArray& bytes);

// The bytes of a document as a reader can check them: printable text as it
// stands, each line end after its "<CR>"/"<LF>" mark, every other control or
// undefined byte as "<hh>" in hexadecimal.
QString visibleBytes(const QByteArray& bytes);

}  // namespace labels
