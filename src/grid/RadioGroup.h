#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

// A titled group of mutually exclusive choices laid out in columns, read and
// set by the index of the chosen item (-1 when none).
class TRadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  explicit TRadioGroup(const QString& title, QWidget* parent = nullptr);

  void setItems(const QStringList& items);
  QStringList items() const;
  void setColumns(int columns);
  int columns() const { return columns_; }

  int ItemIndex() const;
  void setItemIndex(int index);
  QRadioButton* button(int index) const;

 signals:
  void itemIndexChanged(int index);

 private:
  void relayout();

  QButtonGroup* group_;
  QGridLayout* layout_;
  int columns_ = 1;
};
