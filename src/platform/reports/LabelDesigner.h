#pragma once

#include <QDialog>
#include <QList>

#include "platform/reports/DesignObjectItem.h"
#include "platform/reports/LabelProject.h"
#include "platform/reports/LabelRenderer.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGraphicsRectItem;
class QGraphicsScene;
class QGraphicsView;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace platform::reports {

// The label designer: the label drawn as it prints with the variables of the
// design-mode callback; objects added, removed, moved and resized on it;
// their binding, text, font, alignment and barcode options edited beside it;
// the project saved to its file. Closing with unsaved changes asks whether to
// save them.
class LabelDesigner : public QDialog, private DesignItemHost {
  Q_OBJECT

 public:
  // `path` is the native path of the project file; `project` its content
  // (an empty project for a new file).
  LabelDesigner(QWidget* parent, const QString& title, const QString& path, LabelProject project,
                Variables variables);
  ~LabelDesigner() override;

  const LabelProject& project() const { return project_; }
  bool isModified() const { return modified_; }
  // The selected object's index, -1 when none.
  int currentIndex() const;
  void selectObject(int index);

  // Writes the project to its file; false after showing why it failed.
  bool save();

  void reject() override;

 private:
  // DesignItemHost
  const LabelObject& objectAt(int index) const override { return project_.objects.at(index); }
  const Variables& designVariables() const override { return variables_; }
  LabelRenderer& designRenderer() override { return renderer_; }
  void objectRectEdited(int index, const QRectF& rect) override;

  QWidget* buildProperties();
  // A tool button at the end of the row above the label.
  QPushButton* addButton(const QString& name, const QString& text);
  void addObject(ObjectKind kind);
  void removeObject();
  void chooseFont();
  void rebuildItems();
  void showProperties();
  void fillVariableBox();
  // Applies an edit to the selected object and redraws it.
  template <class Edit>
  void editCurrent(Edit edit);
  void setLabelSize();
  void setModified(bool modified);

  QString path_;
  QString title_;
  LabelProject project_;
  Variables variables_;
  LabelRenderer renderer_;
  bool modified_ = false;
  bool updatingPanel_ = false;

  QHBoxLayout* tools_;
  QGraphicsScene* scene_;
  QGraphicsView* view_;
  QGraphicsRectItem* page_;
  QList<DesignObjectItem*> items_;

  QDoubleSpinBox* labelWidth_;
  QDoubleSpinBox* labelHeight_;
  QWidget* objectPanel_;
  QComboBox* variable_;
  QLineEdit* fixedText_;
  QDoubleSpinBox* x_;
  QDoubleSpinBox* y_;
  QDoubleSpinBox* width_;
  QDoubleSpinBox* height_;
  QComboBox* alignment_;
  QComboBox* symbology_;
  QCheckBox* readable_;
  QLabel* font_;
  QPushButton* fontButton_;
  QDoubleSpinBox* thickness_;
  QTreeWidget* variableList_;
};

}  // namespace platform::reports
