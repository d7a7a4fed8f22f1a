#include "query/designer/RowGrid.h"

#include <QApplication>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace query::designer {

namespace {

class AppendingDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    QStyledItemDelegate::setEditorData(editor, index);
    // The view selects the whole text once the editor is open: the caret
    // goes to the end after that.
    if (auto* line = qobject_cast<QLineEdit*>(editor))
      QMetaObject::invokeMethod(
          line,
          [line] {
            line->deselect();
            line->end(false);
          },
          Qt::QueuedConnection);
  }
};

}  // namespace

RowGrid::RowGrid(QWidget* parent) : QTableView(parent) {
  setItemDelegate(new AppendingDelegate(this));
}

void RowGrid::postPendingEdit() {
  if (state() != QAbstractItemView::EditingState) return;
  QWidget* editor = QApplication::focusWidget();
  if (!editor || !isAncestorOf(editor)) return;
  commitData(editor);
  closeEditor(editor, QAbstractItemDelegate::NoHint);
}

}  // namespace query::designer
