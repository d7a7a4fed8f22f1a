#include "grid/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

TRadioGroup::TRadioGroup(const QString& title, QWidget* parent)
    : QGroupBox(title, parent), group_(new QButtonGroup(this)), layout_(new QGridLayout(this)) {
  group_->setExclusive(true);
  connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
    if (checked) emit itemIndexChanged(id);
  });
}

void TRadioGroup::setItems(const QStringList& items) {
  const int chosen = ItemIndex();
  for (QAbstractButton* button : group_->buttons()) {
    group_->removeButton(button);
    delete button;
  }
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    group_->addButton(button, i);
  }
  relayout();
  setItemIndex(chosen < items.size() ? chosen : -1);
}

QStringList TRadioGroup::items() const {
  QStringList result;
  for (int i = 0; button(i); ++i) result << button(i)->text();
  return result;
}

void TRadioGroup::setColumns(int columns) {
  columns_ = std::max(1, columns);
  relayout();
}

void TRadioGroup::relayout() {
  for (QAbstractButton* button : group_->buttons()) layout_->removeWidget(button);
  const auto buttons = group_->buttons();
  for (int i = 0; i < buttons.size(); ++i) {
    QAbstractButton* button = group_->button(i);
    layout_->addWidget(button, i / columns_, i % columns_);
  }
}

int TRadioGroup::ItemIndex() const {
  return group_->checkedId();
}

void TRadioGroup::setItemIndex(int index) {
  if (QAbstractButton* chosen = group_->button(index)) {
    chosen->setChecked(true);
    return;
  }
  if (QAbstractButton* checked = group_->checkedButton()) {
    group_->setExclusive(false);
    checked->setChecked(false);
    group_->setExclusive(true);
  }
}

QRadioButton* TRadioGroup::button(int index) const {
  return qobject_cast<QRadioButton*>(group_->button(index));
}
