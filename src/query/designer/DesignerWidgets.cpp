#include "query/designer/DesignerWidgets.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

namespace query::designer {

QPushButton* namedButton(const QString& name, const QString& text, QWidget* parent) {
  auto* result = new QPushButton(text, parent);
  result->setObjectName(name);
  result->setAutoDefault(false);
  return result;
}

QTableWidget* linesTable(const QString& name, const QStringList& titles, QWidget* parent) {
  auto* result = new QTableWidget(0, static_cast<int>(titles.size()), parent);
  result->setObjectName(name);
  result->setHorizontalHeaderLabels(titles);
  result->setEditTriggers(QAbstractItemView::NoEditTriggers);
  result->setSelectionBehavior(QAbstractItemView::SelectRows);
  result->setSelectionMode(QAbstractItemView::SingleSelection);
  result->verticalHeader()->hide();
  return result;
}

}  // namespace query::designer
