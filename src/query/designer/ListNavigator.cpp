#include "query/designer/ListNavigator.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableWidget>

namespace query::designer {

ListNavigator::ListNavigator(const QString& objectName, QTableWidget* list, bool canRemove,
                             QWidget* parent)
    : QWidget(parent), list_(list) {
  setObjectName(objectName);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  const auto add = [&](const QString& name, const QString& text) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedWidth(28);
    layout->addWidget(button);
    return button;
  };
  connect(add(QStringLiteral("ButtonFirst"), QStringLiteral("|<")), &QPushButton::clicked, this,
          [this] { go(0); });
  connect(add(QStringLiteral("ButtonPrior"), QStringLiteral("<")), &QPushButton::clicked, this,
          [this] { go(list_->currentRow() - 1); });
  connect(add(QStringLiteral("ButtonNext"), QStringLiteral(">")), &QPushButton::clicked, this,
          [this] { go(list_->currentRow() + 1); });
  connect(add(QStringLiteral("ButtonLast"), QStringLiteral(">|")), &QPushButton::clicked, this,
          [this] { go(list_->rowCount() - 1); });
  if (canRemove) {
    remove_ = add(QStringLiteral("ButtonDelete"), QStringLiteral("-"));
    connect(remove_, &QPushButton::clicked, this, [this] {
      const int row = list_->currentRow();
      if (row >= 0 && row < list_->rowCount()) emit removeRequested(row);
    });
  }
  layout->addStretch();
}

void ListNavigator::go(int row) {
  if (list_->rowCount() == 0) return;
  list_->setCurrentCell(qBound(0, row, list_->rowCount() - 1), 0);
}

}  // namespace query::designer
