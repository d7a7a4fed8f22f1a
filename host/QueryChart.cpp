#include "QueryChart.h"

#include "core/IniFile.h"
#include "core/Paths.h"
#include "db/Query.h"
#include "env/TabX.h"
#include "platform/crystal/PrintEngine.h"
#include "query/designer/ChartReport.h"
#include "query/designer/ChartRequest.h"
#include "query/designer/ChartTable.h"
#include "ui/Prompter.h"

namespace host {

namespace {

// What the chart can take of the answer's columns, or why not.
QString refusedColumns(const db::Query& answer, const ChartRequestOptions& options) {
  using namespace query::designer;
  const auto list = [](const QStringList& names) { return names.join(QStringLiteral(", ")); };
  if (!xColumns(answer).contains(options.x))
    return QStringLiteral("--chart-x %1 is not one of the answer's columns %2")
        .arg(options.x, list(xColumns(answer)));
  const QStringList values = valueColumns(answer, options.x);
  if (!values.contains(options.y))
    return QStringLiteral("--chart-y %1 is not one of the answer's numeric columns %2")
        .arg(options.y, list(values));
  QStringList taken{options.y};
  for (const QString& series : options.series) {
    if (!values.contains(series) || taken.contains(series))
      return QStringLiteral("--chart-series %1 is not another numeric column of the answer")
          .arg(series);
    taken << series;
  }
  return {};
}

}  // namespace

int saveAnswerChart(TTabXForm& ambiente, db::Query& answer, const ChartRequestOptions& options) {
  using namespace query::designer;
  const QString refused = refusedColumns(answer, options);
  if (!refused.isEmpty()) {
    ui::error(refused);
    return 1;
  }
  ChartRequest request;
  chooseXColumn(request, options.x);
  chooseValueColumn(request, options.y);
  setAdditionalSeries(request, options.series);
  request.titolo = options.title;
  request.originale = options.originale;
  // The designer's working directory, as the designer reads it.
  const QString baseDir = core::IniFile(core::windowsDirectory() + QStringLiteral("vandel.ini"))
                              .read(ambiente.Ditta, QStringLiteral("Directory di lavoro"),
                                    QStringLiteral("C:\\WINDOWS"));
  ChartTable table(baseDir);
  platform::crystal::PrintEngine engine;
  const QString report =
      ambiente.GetV(QStringLiteral("BinDir")) + QStringLiteral("report\\") + options.report;
  return drawChart(table, answer, request, report, engine, {nullptr, options.file}) ? 0 : 1;
}

}  // namespace host
