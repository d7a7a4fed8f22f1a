#include "query/designer/ChartRequest.h"

#include "db/DataSet.h"
#include "platform/crystal/Formula.h"
#include "query/engine/SortAndTotals.h"

namespace query::designer {

const QStringList kTipiGraficoXY{QStringLiteral("Normale"), QStringLiteral("Normale 3D"),
                                 QStringLiteral("A linee"), QStringLiteral("A barre"),
                                 QStringLiteral("A torta")};

const QStringList kTipiGraficoXYZ{QStringLiteral("Normale"),
                                  QStringLiteral("Normale 3D"),
                                  QStringLiteral("In pila"),
                                  QStringLiteral("In pila 3D"),
                                  QStringLiteral("Percentuali"),
                                  QStringLiteral("Percentuali 3D"),
                                  QStringLiteral("A linee"),
                                  QStringLiteral("Area"),
                                  QStringLiteral("A barre 3D"),
                                  QStringLiteral("A torta con torte a dim. fissa"),
                                  QStringLiteral("A torta con torte a dim. proporz.")};

namespace {

// Report files by item: with the x axis horizontal, and vertical.
struct ReportFiles {
  const char* orizzontale;
  const char* verticale;
};

constexpr ReportFiles kReportsXY[] = {{"QGr01N.RPT", "QGr01VN.RPT"},
                                      {"QGr02N3.RPT", "QGr02VN3.RPT"},
                                      {"QGr03L.RPT", "QGr03VL.RPT"},
                                      {"QGr04B3.RPT", "QGr04B3.RPT"},
                                      {"QGr05T.RPT", "QGr05T.RPT"}};

constexpr ReportFiles kReportsXYZ[] = {
    {"QGr11N.RPT", "QGr11VN.RPT"}, {"QGr12N3.RPT", "QGr12VN3.RPT"},
    {"QGr13P.RPT", "QGr13VP.RPT"}, {"QGr14P3.RPT", "QGr14VP3.RPT"},
    {"QGr15P.RPT", "QGr15VP.RPT"}, {"QGr16P3.RPT", "QGr16VP3.RPT"},
    {"QGr17L.RPT", "QGr17VL.RPT"}, {"QGr18A.RPT", "QGr18VA.RPT"},
    {"QGr19B.RPT", "QGr19B.RPT"},  {"QGr20TF.RPT", "QGr20TF.RPT"},
    {"QGr21TP.RPT", "QGr21TP.RPT"}};

bool describesPoints(db::FieldType type) {
  using T = db::FieldType;
  return type == T::String || type == T::FixedChar || type == T::WideString || type == T::Date ||
         type == T::Time || type == T::DateTime || engine::summable(type);
}

void dropSeries(ChartRequest& request) {
  if (request.series.isEmpty()) return;
  request.series.clear();
  request.tipoXYZ = -1;
}

QString described(const QString& prefix, const QString& text) {
  return text.isEmpty() ? QStringLiteral("' '") : platform::crystal::formulaConstant(prefix + text);
}

}  // namespace

QStringList xColumns(const db::DataSet& answer) {
  QStringList columns;
  for (int i = 0; i < answer.fieldCount(); ++i)
    if (describesPoints(answer.field(i).type)) columns << answer.field(i).name;
  return columns;
}

QStringList valueColumns(const db::DataSet& answer, const QString& except) {
  QStringList columns;
  for (int i = 0; i < answer.fieldCount(); ++i)
    if (engine::summable(answer.field(i).type) && answer.field(i).name != except)
      columns << answer.field(i).name;
  return columns;
}

void chooseXColumn(ChartRequest& request, const QString& column) {
  request.xColumn = column;
  request.valueColumn.clear();
  request.descrizioneX = column;
  request.descrizioneY = request.valueColumn;
  dropSeries(request);
}

void chooseValueColumn(ChartRequest& request, const QString& column) {
  request.valueColumn = column;
  request.descrizioneY = column;
  dropSeries(request);
}

void setAdditionalSeries(ChartRequest& request, const QStringList& series) {
  request.series = series;
  if (series.isEmpty())
    request.tipoXYZ = -1;
  else
    request.tipoXY = -1;
}

bool seriesGroupActive(const ChartRequest& request) {
  return !request.series.isEmpty();
}

QString chartRequestProblem(const ChartRequest& request) {
  if (request.xColumn.isEmpty() || request.valueColumn.isEmpty())
    return QStringLiteral(
        "Dati non sufficienti per la creazione del grafico!\rVerificare e "
        "correggere");
  if (chartReportFile(request).isEmpty())
    return QStringLiteral("Selezionare il tipo grafico da visualizzare!");
  return {};
}

QString chartReportFile(const ChartRequest& request) {
  const bool xyz = seriesGroupActive(request);
  const int item = xyz ? request.tipoXYZ : request.tipoXY;
  const int items = static_cast<int>(xyz ? std::size(kReportsXYZ) : std::size(kReportsXY));
  if (item < 0 || item >= items) return {};
  const ReportFiles& files = xyz ? kReportsXYZ[item] : kReportsXY[item];
  return QLatin1String(request.verticale ? files.verticale : files.orizzontale);
}

QList<QPair<QString, QString>> chartFormulas(const ChartRequest& request) {
  return {
      {QStringLiteral("Titolo"), request.titolo.isEmpty()
                                     ? QStringLiteral("'Senza titolo '")
                                     : platform::crystal::formulaConstant(request.titolo)},
      {QStringLiteral("DescrizioneX"), described(QStringLiteral("Asse X: "), request.descrizioneX)},
      {QStringLiteral("DescrizioneY"), described(QStringLiteral("Asse Y: "), request.descrizioneY)},
      {QStringLiteral("DescrizioneZ"),
       described(QStringLiteral("Asse Z: "), request.descrizioneZ)}};
}

int counterDigits(int rows) {
  if (rows <= 99) return 2;
  return rows > 999 ? 4 : 3;
}

QString chartLabel(const QString& text, int counter, int digits) {
  const QString label =
      counter > 0 ? QStringLiteral("%1.").arg(counter, digits, 10, QLatin1Char('0')) + text : text;
  return label.left(kChartTextSize);
}

}  // namespace query::designer
