#pragma once

#include <QString>
#include <QStringList>

// The demo installation's reports, compiled in as ":/demo/report/...": the
// 27 report files the query designer's charts open from the bin directory's
// "report\" folder (QGr01N.RPT to QGr21TP.RPT) and the text report of the
// query print (TEXT.rpt).
namespace host {

// Writes the reports missing from `reportDir` (a native folder, made when
// missing); reports already there, perhaps edited, are kept. Returns the
// files written; reports a file it could not write in `error` and goes on.
QStringList installDemoReports(const QString& reportDir, QString* error = nullptr);

}  // namespace host
