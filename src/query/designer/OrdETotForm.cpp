#include "query/designer/OrdETotForm.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "db/DataSet.h"
#include "grid/RadioGroup.h"
#include "query/engine/SortAndTotals.h"
#include "query/model/AnswerCodes.h"
#include "ui/Prompter.h"

namespace {

using query::engine::ChoiceColumn;

// Each item carries its column's position, so that columns of the same
// name stay apart.
void fill(QListWidget* list, const QList<ChoiceColumn>& columns) {
  for (const ChoiceColumn& column : columns) {
    auto* item = new QListWidgetItem(column.name, list);
    item->setData(Qt::UserRole, column.column);
  }
}

QList<int> columnsOf(const QListWidget* list) {
  QList<int> columns;
  for (int i = 0; i < list->count(); ++i) columns << list->item(i)->data(Qt::UserRole).toInt();
  return columns;
}

// Two captioned lists side by side in a titled group.
QGroupBox* pairGroup(const QString& title, const QString& firstCaption, QListWidget* first,
                     const QString& secondCaption, QListWidget* second, QWidget* parent) {
  auto* group = new QGroupBox(title, parent);
  auto* grid = new QGridLayout(group);
  grid->addWidget(new QLabel(firstCaption, group), 0, 0);
  grid->addWidget(new QLabel(secondCaption, group), 0, 1);
  grid->addWidget(first, 1, 0);
  grid->addWidget(second, 1, 1);
  return group;
}

}  // namespace

TOrdETotForm::TOrdETotForm(const db::DataSet& answer, query::model::AnswerCodes& codes,
                           const QString& ditta, QWidget* parent)
    : DesignerDialog(QStringLiteral("OrdETotForm"), QStringLiteral("Ordinamento e Totali"), parent,
                     QStringLiteral("&Aggiorna"), QStringLiteral("Ch&iudi")),
      codes_(codes),
      ditta_(ditta),
      radioGroup1_(new TRadioGroup(QStringLiteral("Criterio di ordinamento:"), this)) {
  okButton()->setObjectName(QStringLiteral("ButtonAggiorna"));
  cancelButton()->setObjectName(QStringLiteral("ButtonChiudi"));
  for (int i = 0; i < answer.fieldCount(); ++i) fields_ << answer.field(i);

  for (int i = 0; i < 4; ++i) {
    lists_[i] = new QListWidget(this);
    lists_[i]->setObjectName(QStringLiteral("ListBox%1").arg(i + 1));
    lists_[i]->setSelectionMode(QAbstractItemView::SingleSelection);
    lists_[i]->setMinimumSize(160, 200);
  }
  const query::engine::SortAndTotals start = query::engine::sortAndTotalsLists(fields_, codes_);
  fill(ListBox1(), start.available);
  fill(ListBox2(), start.keys);
  fill(ListBox3(), start.numeric);
  fill(ListBox4(), start.totals);

  radioGroup1_->setObjectName(QStringLiteral("RadioGroup1"));
  radioGroup1_->setItems({QStringLiteral("Crescente"), QStringLiteral("Decrescente")});
  radioGroup1_->setItemIndex(start.descending ? 1 : 0);

  connect(ListBox1(), &QListWidget::itemDoubleClicked, this, [this] { ListBox1DblClick(); });
  connect(ListBox2(), &QListWidget::itemDoubleClicked, this, [this] { ListBox2DblClick(); });
  connect(ListBox3(), &QListWidget::itemDoubleClicked, this, [this] { ListBox3DblClick(); });
  connect(ListBox4(), &QListWidget::itemDoubleClicked, this, [this] { ListBox4DblClick(); });

  auto* sorting = new QHBoxLayout;
  sorting->addWidget(
      pairGroup(QStringLiteral("Chiave di ordinamento:"), QStringLiteral("Campi disponibili:"),
                ListBox1(), QStringLiteral("Chiave:"), ListBox2(), this),
      1);
  sorting->addWidget(radioGroup1_, 0, Qt::AlignTop);
  contents()->addLayout(sorting);
  contents()->addWidget(pairGroup(QStringLiteral("Campi con totali alla fine:"),
                                  QStringLiteral("Campi numerici:"), ListBox3(),
                                  QStringLiteral("Campi con totali:"), ListBox4(), this));
  setFirstFocus(ListBox1());
}

QListWidgetItem* TOrdETotForm::chosen(const QListWidget* list) {
  QListWidgetItem* item = list->currentItem();
  return item && item->isSelected() ? item : nullptr;
}

void TOrdETotForm::move(QListWidget* from, QListWidget* to) {
  if (QListWidgetItem* item = chosen(from)) to->addItem(from->takeItem(from->row(item)));
}

void TOrdETotForm::ListBox1DblClick() {
  if (chosen(ListBox1()) && !query::engine::canAddSortKey(ListBox2()->count())) {
    ui::warning(QStringLiteral("Attenzione: Troppi campi in Chiave di ordinamento"));
    return;
  }
  move(ListBox1(), ListBox2());
}

void TOrdETotForm::ListBox2DblClick() {
  move(ListBox2(), ListBox1());
}

void TOrdETotForm::ListBox3DblClick() {
  move(ListBox3(), ListBox4());
}

void TOrdETotForm::ListBox4DblClick() {
  move(ListBox4(), ListBox3());
}

void TOrdETotForm::confirm() {
  query::engine::rewriteCodes(codes_, static_cast<int>(fields_.size()), columnsOf(ListBox2()),
                              columnsOf(ListBox4()), radioGroup1_->ItemIndex() == 1);
  done(ui::ResultOk);
}
