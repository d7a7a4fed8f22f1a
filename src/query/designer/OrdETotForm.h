#pragma once

#include <QList>
#include <QString>

#include "db/FieldType.h"
#include "query/designer/DesignerDialog.h"

class QListWidget;
class QListWidgetItem;
class TRadioGroup;

namespace db {
class DataSet;
}
namespace query::model {
class AnswerCodes;
}

// Chooses the sort key of the answer and the columns whose total ends a
// printout. "ListBox1" holds the columns that may become keys, "ListBox2"
// the key in sort order, "ListBox3" the numeric columns without total,
// "ListBox4" those with one; a double-click moves the chosen item to the
// partner list (1 and 2, 3 and 4). "RadioGroup1" gives the direction.
// "&Aggiorna" rewrites the codes of every column and closes with 1,
// "Ch&iudi" closes with 2 and changes nothing.
class TOrdETotForm : public query::designer::DesignerDialog {
  Q_OBJECT

 public:
  TOrdETotForm(const db::DataSet& answer, query::model::AnswerCodes& codes, const QString& ditta,
               QWidget* parent = nullptr);

  QListWidget* ListBox1() const { return lists_[0]; }
  QListWidget* ListBox2() const { return lists_[1]; }
  QListWidget* ListBox3() const { return lists_[2]; }
  QListWidget* ListBox4() const { return lists_[3]; }
  TRadioGroup* RadioGroup1() const { return radioGroup1_; }
  const QString& ditta() const { return ditta_; }

  void ListBox1DblClick();
  void ListBox2DblClick();
  void ListBox3DblClick();
  void ListBox4DblClick();

 protected:
  void confirm() override;

 private:
  // The item the user chose in a list, if any.
  static QListWidgetItem* chosen(const QListWidget* list);
  // Moves the chosen item of `from` to the end of `to`.
  static void move(QListWidget* from, QListWidget* to);

  query::model::AnswerCodes& codes_;
  QString ditta_;
  QList<db::FieldInfo> fields_;
  QListWidget* lists_[4];
  TRadioGroup* radioGroup1_;
};
