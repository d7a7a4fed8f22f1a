#include "query/designer/ListTabForm.h"

#include <QListWidget>
#include <QVBoxLayout>

#include "query/designer/DatabaseTables.h"

TListTabForm::TListTabForm(db::Database& database, db::Transaction& transaction, QWidget* parent)
    : DesignerDialog(QStringLiteral("ListTabForm"), QStringLiteral("Tabelle"), parent,
                     QStringLiteral("Apri")),
      listBox1_(new QListWidget(this)) {
  listBox1_->setObjectName(QStringLiteral("ListBox1"));
  listBox1_->addItems(query::designer::userTables(database, transaction));
  listBox1_->setMinimumSize(220, 260);
  contents()->addWidget(listBox1_);
  connect(listBox1_, &QListWidget::itemDoubleClicked, this, [this] { done(ui::ResultOk); });
  setFirstFocus(listBox1_);
}

QString TListTabForm::selectedTable() const {
  const QListWidgetItem* item = listBox1_->currentItem();
  return item && item->isSelected() ? item->text() : QString();
}
