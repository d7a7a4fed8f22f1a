#pragma once

#include <QTableView>

namespace query::designer {

// The designer's row grid: a table view that can post the cell being
// typed into, as the commands that run or close the query do first. A cell
// opened for typing keeps its text with the caret at the end, so that the
// parenthesis F4 puts there is typed after, not over.
class RowGrid : public QTableView {
  Q_OBJECT
 public:
  explicit RowGrid(QWidget* parent = nullptr);

  // Writes the open editor's text into the row and closes the editor.
  void postPendingEdit();
};

}  // namespace query::designer
