#pragma once

#include <QWidget>

class QPushButton;
class QTableWidget;

namespace query::designer {

// The button bar under a work list: first, prior, next and last line, and,
// when the list allows it, deleting the current line (the owner removes it
// from its data on removeRequested).
class ListNavigator : public QWidget {
  Q_OBJECT

 public:
  ListNavigator(const QString& objectName, QTableWidget* list, bool canRemove, QWidget* parent);

  QPushButton* removeButton() const { return remove_; }

 signals:
  void removeRequested(int row);

 private:
  void go(int row);

  QTableWidget* list_;
  QPushButton* remove_ = nullptr;
};

}  // namespace query::designer
