#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace db {
class DataSet;
}

// What the chart dialog has chosen, and the rules that tie its choices
// together, without the dialog: the batch command draws charts with them.
namespace query::designer {

// The items of the two chart-type groups, in order.
extern const QStringList kTipiGraficoXY;   // "Tipo grafico (valori x/y)"
extern const QStringList kTipiGraficoXYZ;  // "Tipo grafico (valori x/y/z)"

// The longest text the chart table's Descrizione1 and Descrizione2 hold.
inline constexpr int kChartTextSize = 20;

struct ChartRequest {
  QString xColumn;      // the points' labels
  QString valueColumn;  // the first series' values
  QStringList series;   // further value columns, each a series
  int tipoXY = -1;      // item chosen in the x/y group, -1 none
  int tipoXYZ = -1;     // item chosen in the x/y/z group, -1 none
  bool verticale = false;
  bool originale = false;  // "Originale": labels keep the answer's order
  QString titolo;
  QString descrizioneX;
  QString descrizioneY;
  QString descrizioneZ;
};

// The answer's columns the x axis can take: text, dates and times and the
// numeric columns, in column order.
QStringList xColumns(const db::DataSet& answer);
// The numeric columns that can give values, in column order, but `except`.
QStringList valueColumns(const db::DataSet& answer, const QString& except);

// Choosing the x column: the value column is to be chosen again, the x
// description takes the column's name, the y description is emptied and
// the additional series are dropped.
void chooseXColumn(ChartRequest& request, const QString& column);
// Choosing the value column: the y description takes its name and the
// additional series are dropped.
void chooseValueColumn(ChartRequest& request, const QString& column);
// Sets the additional series; the group that no longer applies loses its
// choice.
void setAdditionalSeries(ChartRequest& request, const QStringList& series);
// True when the x/y/z group is the one read (there are additional series).
bool seriesGroupActive(const ChartRequest& request);

// Why the request cannot be drawn yet (the text of the message), or empty.
QString chartRequestProblem(const ChartRequest& request);

// The report file that draws the request: by the active group's choice and
// the orientation; empty without a choice.
QString chartReportFile(const ChartRequest& request);

// The formulas every chart gets: "Titolo", "DescrizioneX", "DescrizioneY",
// "DescrizioneZ" and their texts. A text typed with an apostrophe keeps it
// (doubled inside the constant).
QList<QPair<QString, QString>> chartFormulas(const ChartRequest& request);

// The digits of the counter that keeps the answer's order: 2 up to 99 rows,
// 4 above 999, else 3.
int counterDigits(int rows);
// A point's label as the chart table keeps it: with "Originale" prefixed by
// the counter and a full stop (007.ROSSI), cut to kChartTextSize.
QString chartLabel(const QString& text, int counter, int digits);

}  // namespace query::designer
