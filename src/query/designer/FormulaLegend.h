#pragma once

class QWidget;

namespace query::designer {

// The fixed legend of the formula dialog: one column per kind of operator or
// function, then the notes on the procedural functions, in blue.
QWidget* createFormulaLegend(QWidget* parent);

}  // namespace query::designer
