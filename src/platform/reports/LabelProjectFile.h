#pragma once

#include <QByteArray>
#include <QString>

#include "platform/reports/LabelProject.h"

// Label project files (".LBL"): UTF-8 text, one record per line, described
// in docs/label-format.md. In short:
//
//   orbelan-label 1
//   label width=80 height=50
//   text x=3 y=2 width=74 height=6 variable=Descrizione font="Arial" points=11 bold=yes
//   barcode x=5 y=22 width=70 height=24 variable=CodiceBarre symbology=code128
//   line x=3 y=20 width=74 height=0 thickness=0.3
//   box x=0.5 y=0.5 width=79 height=49
//   image x=60 y=2 width=17 height=8 file="logo.png"
//
// Reading is strict: an unknown record or key, a bad number or a missing
// position is an error naming the line, so that a mistyped hand edit is
// never printed silently wrong.
namespace platform::reports {

// Parses the text of a project file. On failure returns false and sets
// `error` to a message naming the line.
bool parseLabelProject(const QByteArray& text, LabelProject& project, QString& error);
// The text of a project file; parseLabelProject() reads it back equal, with
// lengths rounded to hundredths of a millimetre.
QByteArray formatLabelProject(const LabelProject& project);

// Reads and writes project files at native paths. Errors are full sentences
// naming the file. Saving replaces the file only once the new one is whole.
bool loadLabelProject(const QString& path, LabelProject& project, QString& error);
bool saveLabelProject(const QString& path, const LabelProject& project, QString& error);

}  // namespace platform::reports
