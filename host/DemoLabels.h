#pragma once

#include <QString>
#include <QStringList>

// The demo installation's label projects, compiled in as ":/demo/Report/...":
// "ETICHETTA.LBL" (Code 128 of the label code) and "ETICHETTA_EAN.LBL"
// (EAN-13 of the article), the files the label window prints with, and the
// thermal templates "ETICHETTA.TXT" and "ETICHETTA_EAN.TXT" (ZPL).
namespace host {

// Writes the projects missing from `reportDir` (a native folder, made when
// missing); projects already there, perhaps edited, are kept. Returns the
// files written; throws nothing, reports a file it could not write in
// `error` and goes on with the others.
QStringList installDemoLabelProjects(const QString& reportDir, QString* error = nullptr);

// Writes the named files of the resource folder ":/demo/<resourceFolder>/"
// (every file of it when `names` is empty) that are missing from
// `targetDir` (made when missing), as above.
QStringList installDemoFiles(const QString& resourceFolder, const QStringList& names,
                             const QString& targetDir, QString* error);

}  // namespace host
