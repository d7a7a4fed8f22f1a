#include "query/designer/FormulaLegend.h"

#include <QGridLayout>
#include <QLabel>
#include <QStringList>
#include <QVBoxLayout>
#include <QWidget>

namespace query::designer {

namespace {

struct LegendColumn {
  QStringList heading;
  QStringList entries;
  bool blue = false;
};

const QString kBlue = QStringLiteral("color: blue;");

QLabel* legendLabel(const QString& text, QWidget* parent, bool blue) {
  auto* label = new QLabel(text, parent);
  if (blue) label->setStyleSheet(kBlue);
  return label;
}

}  // namespace

QWidget* createFormulaLegend(QWidget* parent) {
  const QString operators = QStringLiteral("Operatori");
  const std::vector<LegendColumn> columns = {
      {{operators, QStringLiteral("fra numeri:")},
       {QStringLiteral("x+y"), QStringLiteral("x-y"), QStringLiteral("x/y"),
        QStringLiteral("x*y")}},
      {{operators, QStringLiteral("fra date:")}, {QStringLiteral("x+n"), QStringLiteral("x-n")}},
      {{operators, QStringLiteral("fra stringhe:")},
       {QStringLiteral("x+y"), QStringLiteral("UPPER()")}},
      {{QStringLiteral("Funzioni:")},
       {QStringLiteral("SUM"), QStringLiteral("COUNT"), QStringLiteral("MIN"),
        QStringLiteral("MAX"), QStringLiteral("AVG"), QStringLiteral("SUMNOGROUP"),
        QStringLiteral("SOMMAPROG")}},
      {{QStringLiteral("Funzioni procedurali:*")},
       {QStringLiteral("SUMNOGROUP"), QStringLiteral("SOMMAPROG"), QStringLiteral("INTEROQUOV")},
       true},
  };
  const QStringList notes = {
      QStringLiteral("* Le funzioni procedurali non sono implementate avvalendosi del solo motore"),
      QStringLiteral("SQL. Presentano pertanto dei limiti:"),
      QStringLiteral("- Non sono abbinabili ad altre funzioni in una espressione;"),
      QStringLiteral("- Il campo a cui si applica la funzione procedurale deve risultare"),
      QStringLiteral("selezionato;"),
      QStringLiteral("- In generale si consiglia di usare una funzione procedurale da sola "),
      QStringLiteral("nell'ambito di una query e usare altre funzioni nelle query successive."),
      QStringLiteral("Parametri SOMMAPROG: (CampoDaSommare,CampoOrdinamento1,..CampoOrdinamentoN)"),
  };

  auto* legend = new QWidget(parent);
  legend->setObjectName(QStringLiteral("FormulaLegend"));
  auto* grid = new QGridLayout;
  grid->setContentsMargins(0, 0, 0, 0);
  // Headings of one or two lines sit on the same rows; entries start below
  // the tallest heading.
  int headingRows = 0;
  for (const LegendColumn& column : columns)
    headingRows = std::max(headingRows, static_cast<int>(column.heading.size()));
  for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
    const LegendColumn& column = columns[c];
    for (int r = 0; r < column.heading.size(); ++r)
      grid->addWidget(legendLabel(column.heading[r], legend, column.blue), r, c);
    for (int r = 0; r < column.entries.size(); ++r)
      grid->addWidget(legendLabel(column.entries[r], legend, false), headingRows + r, c);
  }

  auto* layout = new QVBoxLayout(legend);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(grid);
  layout->addSpacing(8);
  for (const QString& note : notes) layout->addWidget(legendLabel(note, legend, true));
  layout->setSpacing(2);
  return legend;
}

}  // namespace query::designer
