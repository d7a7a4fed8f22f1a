#pragma once

#include <QString>

class QWidget;

namespace db {
class DataSet;
}
namespace platform::crystal {
class PrintEngine;
}

namespace query::designer {

class ChartTable;
struct ChartRequest;

// Where a chart goes: a window "STAMPA GRAFICO" (a child window of
// `parent` when given), or, with `file` set (a native path), a PNG image or
// PDF document written without a window.
struct ChartOutput {
  QWidget* parent = nullptr;
  QString file;
};

// The message when a report cannot be opened.
extern const QString kReportNonAperto;

// Draws a chart of the answer: fills the chart table with the request's
// points, opens the report file `reportPath` (stored form) with the report
// engine, points its table 0 at the chart table, sets the four formulas and
// sends the chart to the output. Every failure is told through the message
// boxes; false when nothing was drawn. A report that cannot be opened leaves
// the chart table filled.
bool drawChart(ChartTable& table, db::DataSet& answer, const ChartRequest& request,
               const QString& reportPath, platform::crystal::PrintEngine& engine,
               const ChartOutput& output);

}  // namespace query::designer
