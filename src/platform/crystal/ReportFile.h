#pragma once

#include <QByteArray>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPair>
#include <QString>

#include "platform/crystal/ChartDefinition.h"

// Report files of the report engine (".RPT"): UTF-8 text, one record per
// line, described in docs/report-format.md. In short:
//
//   orbelan-report 1
//   report kind=chart
//   chart type=bar orientation=horizontal look=3d
//   colors list=#2f6db5,#d9472b,#f0a030
//   formula name=Titolo text="'Senza titolo '"
//
// or, for the text lines of a query print,
//
//   report kind=text
//   page size=A4 orientation=portrait margins=15,15,15,15
//   font family="Courier New" size=8
//
// The `report` record names what the report draws; the records after it
// belong to that kind. Reading is strict, as for label projects: an unknown
// record or key or a bad value is an error naming the line.
namespace platform::crystal {

enum class ReportKind { Chart, Text };

// How a text report lays its lines on paper: the page, its margins in
// millimetres and the monospaced font the lines are written in.
struct TextDefinition {
  QPageSize::PageSizeId pageSize = QPageSize::A4;
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  QMarginsF margins{15, 15, 15, 15};  // left, top, right, bottom
  QString fontFamily = QStringLiteral("Courier New");
  double pointSize = 8;
};

struct ReportDefinition {
  ReportKind kind = ReportKind::Chart;
  ChartDefinition chart;
  TextDefinition text;
  // The formulas the report defines, in order: name and formula text.
  QList<QPair<QString, QString>> formulas;

  bool definesFormula(const QString& name) const;
};

// Parses the text of a report file; false with `error` naming the line.
bool parseReportFile(const QByteArray& text, ReportDefinition& report, QString& error);

// Reads a report file at a native path. `missing` tells a file that does
// not exist from one that cannot be read or is not valid.
bool loadReportFile(const QString& path, ReportDefinition& report, QString& error,
                    bool* missing = nullptr);

}  // namespace platform::crystal
