#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGraphicsView>
#include <QTemporaryDir>
#include <QTest>

#include "platform/reports/LabelDesigner.h"
#include "platform/reports/LabelProjectFile.h"
#include "support/ScriptedUi.h"

using namespace platform::reports;

namespace {

class LabelDesignerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.filePath("NUOVA.LBL");
    LabelProject project;
    project.size = QSizeF(80, 50);
    designer_ = std::make_unique<LabelDesigner>(
        nullptr, "Edita Etichetta", path_, project,
        Variables{{"Descrizione", "GIACCA"}, {"CodiceBarre", "0101001046"}});
    designer_->show();
    view_ = control<QGraphicsView>(*designer_, "LabelView");
  }

  void click(const QString& button) { control<QAbstractButton>(*designer_, button)->click(); }

  // Drags with the mouse from one point of the label to another (millimetres).
  void drag(QPointF from, QPointF to) {
    QWidget* viewport = view_->viewport();
    const QPoint start = view_->mapFromScene(from);
    const QPoint end = view_->mapFromScene(to);
    QTest::mousePress(viewport, Qt::LeftButton, {}, start);
    QTest::mouseMove(viewport, (start + end) / 2);
    QTest::mouseMove(viewport, end);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, end);
  }

  // How many dark pixels the view shows inside a rectangle of the label.
  int darkPixels(const QRectF& mm) {
    const QImage image = view_->viewport()->grab().toImage();
    const QRect area = view_->mapFromScene(mm).boundingRect();
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        if (qGray(image.pixel(x, y)) < 60) ++dark;
    return dark;
  }

  LabelObject current() const { return designer_->project().objects.at(designer_->currentIndex()); }

  QTemporaryDir dir_;
  QString path_;
  ScriptedPrompter prompter_;
  ScopedPrompter scoped_{prompter_};
  std::unique_ptr<LabelDesigner> designer_;
  QGraphicsView* view_ = nullptr;
};

TEST_F(LabelDesignerTest, ObjectsAreAddedBoundMovedResizedAndSaved) {
  click("AddTextButton");
  ASSERT_EQ(designer_->currentIndex(), 0);
  const QRectF placed = current().rect;
  EXPECT_EQ(current().fixedText, "Testo");

  // Bound to a variable, the object shows the value of the design callback;
  // before, a text of its own.
  control<QComboBox>(*designer_, "VariableBox")->setCurrentText("Descrizione");
  EXPECT_EQ(current().variable, "Descrizione");
  EXPECT_GT(darkPixels(placed), 20) << "GIACCA is drawn in black";
  control<QComboBox>(*designer_, "VariableBox")->setCurrentText("Ordine");
  EXPECT_EQ(darkPixels(placed), 0) << "an empty variable shows only its name, in grey";
  control<QComboBox>(*designer_, "VariableBox")->setCurrentText("Descrizione");

  // Moved by dragging: by 10 and 15 mm, to the tenth of a millimetre.
  drag(placed.center(), placed.center() + QPointF(10, 15));
  EXPECT_NEAR(current().rect.x(), placed.x() + 10, 0.11);
  EXPECT_NEAR(current().rect.y(), placed.y() + 15, 0.11);
  EXPECT_EQ(current().rect.size(), placed.size());
  EXPECT_DOUBLE_EQ(control<QDoubleSpinBox>(*designer_, "XBox")->value(), current().rect.x());
  // Resized by its corner handle.
  const QRectF moved = current().rect;
  drag(moved.bottomRight(), moved.bottomRight() + QPointF(5, 2));
  EXPECT_EQ(current().rect.topLeft(), moved.topLeft());
  EXPECT_NEAR(current().rect.width(), moved.width() + 5, 0.11);
  EXPECT_NEAR(current().rect.height(), moved.height() + 2, 0.11);
  // And by the arrow keys.
  QTest::keyClick(view_->viewport(), Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_NEAR(current().rect.x(), moved.x() + 1, 0.01);

  QFont serif("DejaVu Serif");
  serif.setPointSizeF(14);
  serif.setBold(true);
  prompter_.font(serif);
  click("FontButton");
  EXPECT_EQ(current().font, (LabelFont{"DejaVu Serif", 14, true, false}));

  // A barcode placed through the spin boxes; a line added and removed.
  click("AddBarcodeButton");
  control<QComboBox>(*designer_, "VariableBox")->setCurrentText("CodiceBarre");
  control<QComboBox>(*designer_, "SymbologyBox")->setCurrentIndex(0);
  control<QDoubleSpinBox>(*designer_, "YBox")->setValue(28.5);
  control<QDoubleSpinBox>(*designer_, "WidthBox")->setValue(60);
  EXPECT_EQ(current().rect, QRectF(2, 28.5, 60, 15));
  click("AddLineButton");
  EXPECT_EQ(designer_->project().objects.size(), 3);
  click("RemoveButton");
  EXPECT_EQ(designer_->project().objects.size(), 2);

  ASSERT_TRUE(designer_->isModified());
  EXPECT_TRUE(designer_->windowTitle().endsWith(" *"));
  click("SaveButton");
  EXPECT_FALSE(designer_->isModified());
  LabelProject saved;
  QString error;
  ASSERT_TRUE(loadLabelProject(path_, saved, error)) << error.toStdString();
  EXPECT_EQ(saved, designer_->project()) << formatLabelProject(designer_->project()).toStdString();
  ASSERT_EQ(saved.objects.size(), 2);
  EXPECT_EQ(saved.objects.at(0).variable, "Descrizione");
  EXPECT_EQ(saved.objects.at(1).kind, ObjectKind::Barcode);
  EXPECT_EQ(saved.objects.at(1).variable, "CodiceBarre");
  EXPECT_TRUE(prompter_.texts().isEmpty());

  // Reopened, the designer shows the saved project.
  LabelDesigner again(nullptr, "Edita Etichetta", path_, saved, {});
  EXPECT_EQ(again.project(), saved);
}

TEST_F(LabelDesignerTest, ClosingWithChangesAsksWhetherToSaveThem) {
  click("AddBarcodeButton");
  prompter_.answer(ui::Cancel);
  click("CloseButton");
  EXPECT_TRUE(designer_->isVisible()) << "Cancel keeps the designer open";
  prompter_.answer(ui::No);
  click("CloseButton");
  EXPECT_FALSE(designer_->isVisible());
  EXPECT_FALSE(QFile::exists(path_)) << "No leaves the file as it was";
  EXPECT_EQ(prompter_.texts(),
            QStringList(2, "Salvare le modifiche al progetto etichetta NUOVA.LBL?"));

  // Yes saves; a save that fails keeps the designer open with the reason.
  designer_->show();
  prompter_.reset();
  prompter_.answer(ui::Yes);
  click("CloseButton");
  EXPECT_FALSE(designer_->isVisible());
  EXPECT_TRUE(QFile::exists(path_));

  LabelDesigner lost(nullptr, "Edita Etichetta", dir_.filePath("manca/X.LBL"), {}, {});
  lost.show();
  control<QAbstractButton>(lost, "AddTextButton")->click();
  prompter_.reset();
  prompter_.answer(ui::Yes);
  control<QAbstractButton>(lost, "CloseButton")->click();
  EXPECT_TRUE(lost.isVisible());
  ASSERT_EQ(prompter_.texts().size(), 2);
  EXPECT_TRUE(prompter_.texts().at(1).startsWith("Impossibile salvare il progetto etichetta"));
}

}  // namespace
