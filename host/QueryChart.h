#pragma once

#include <QString>
#include <QStringList>

namespace db {
class Query;
}
class TTabXForm;

// `orbelan query --chart`: the chart the designer's chart dialog would show
// for the answer, saved to a file instead of a window.
namespace host {

struct ChartRequestOptions {
  QString file;            // --chart: the PNG or PDF file to write
  QString report;          // --chart-report: a report file of the bin directory's report\ folder
  QString x;               // --chart-x
  QString y;               // --chart-y
  QStringList series;      // --chart-series
  QString title;           // --chart-title
  bool originale = false;  // --chart-order Originale (else Ordina)
};

// Fills the chart table from the open answer as "&Visualizza" does and
// saves the chart the report draws. Messages go through the prompter (the
// console's: standard error). Returns the exit status: 0 saved, 1 not.
int saveAnswerChart(TTabXForm& ambiente, db::Query& answer, const ChartRequestOptions& options);

}  // namespace host
