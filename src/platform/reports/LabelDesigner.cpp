#include "platform/reports/LabelDesigner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/reports/LabelProjectFile.h"
#include "ui/Prompter.h"

namespace platform::reports {

namespace {

const QString kFixedText = QStringLiteral("(testo fisso)");
constexpr double kSceneMarginMm = 5;

QDoubleSpinBox* millimetreBox(QWidget* parent, const QString& name, double minimum) {
  auto* box = new QDoubleSpinBox(parent);
  box->setObjectName(name);
  box->setDecimals(1);
  box->setSingleStep(0.5);
  box->setRange(minimum, 1000);
  box->setSuffix(QStringLiteral(" mm"));
  box->setKeyboardTracking(false);
  return box;
}

QString fontText(const LabelFont& font) {
  QString text = QStringLiteral("%1 %2").arg(font.family).arg(font.points);
  if (font.bold) text += QStringLiteral(" grassetto");
  if (font.italic) text += QStringLiteral(" corsivo");
  return text;
}

}  // namespace

LabelDesigner::LabelDesigner(QWidget* parent, const QString& title, const QString& path,
                             LabelProject project, Variables variables)
    : QDialog(parent),
      path_(path),
      title_(title),
      project_(std::move(project)),
      variables_(std::move(variables)),
      renderer_(QFileInfo(path).absolutePath()) {
  setObjectName(QStringLiteral("LabelDesigner"));
  setWindowFlag(Qt::WindowMaximizeButtonHint);

  tools_ = new QHBoxLayout;
  connect(addButton(QStringLiteral("AddTextButton"), QStringLiteral("&Testo")),
          &QPushButton::clicked, this, [this] { addObject(ObjectKind::Text); });
  connect(addButton(QStringLiteral("AddBarcodeButton"), QStringLiteral("Codice a &barre")),
          &QPushButton::clicked, this, [this] { addObject(ObjectKind::Barcode); });
  connect(addButton(QStringLiteral("AddLineButton"), QStringLiteral("&Linea")),
          &QPushButton::clicked, this, [this] { addObject(ObjectKind::Line); });
  connect(addButton(QStringLiteral("AddBoxButton"), QStringLiteral("&Riquadro")),
          &QPushButton::clicked, this, [this] { addObject(ObjectKind::Box); });
  connect(addButton(QStringLiteral("AddImageButton"), QStringLiteral("&Immagine")),
          &QPushButton::clicked, this, [this] { addObject(ObjectKind::Image); });
  connect(addButton(QStringLiteral("RemoveButton"), QStringLiteral("&Elimina")),
          &QPushButton::clicked, this, &LabelDesigner::removeObject);
  QPushButton* saveButton = addButton(QStringLiteral("SaveButton"), QStringLiteral("&Salva"));
  connect(saveButton, &QPushButton::clicked, this, &LabelDesigner::save);
  QPushButton* closeButton = addButton(QStringLiteral("CloseButton"), QStringLiteral("&Chiudi"));
  connect(closeButton, &QPushButton::clicked, this, &LabelDesigner::reject);
  tools_->addStretch();

  scene_ = new QGraphicsScene(this);
  page_ = scene_->addRect(QRectF(QPointF(0, 0), project_.size), QPen(Qt::gray, 0), Qt::white);
  page_->setZValue(-1);
  view_ = new QGraphicsView(scene_, this);
  view_->setObjectName(QStringLiteral("LabelView"));
  view_->setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  view_->setBackgroundBrush(QColor(200, 200, 200));
  view_->setDragMode(QGraphicsView::RubberBandDrag);
  const double pixelsPerMm =
      qBound(2.0, 560 / qMax(project_.size.width(), project_.size.height() * 1.4), 16.0);
  view_->scale(pixelsPerMm, pixelsPerMm);
  view_->setMinimumSize(400, 300);
  auto* remove = new QShortcut(QKeySequence::Delete, view_);
  remove->setContext(Qt::WidgetWithChildrenShortcut);
  connect(remove, &QShortcut::activated, this, &LabelDesigner::removeObject);
  connect(scene_, &QGraphicsScene::selectionChanged, this, &LabelDesigner::showProperties);

  auto* body = new QHBoxLayout;
  body->addWidget(view_, 1);
  body->addWidget(buildProperties());
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools_);
  layout->addLayout(body, 1);

  setLabelSize();
  rebuildItems();
  showProperties();
  setModified(false);
  resize(1000, 620);
}

LabelDesigner::~LabelDesigner() {
  // The scene's items go first, while this designer is whole: removing them
  // changes the selection, which the designer follows.
  disconnect(scene_, nullptr, this, nullptr);
  items_.clear();
  delete scene_;
}

QPushButton* LabelDesigner::addButton(const QString& name, const QString& text) {
  auto* button = new QPushButton(text, this);
  button->setObjectName(name);
  button->setFlat(true);
  button->setAutoDefault(false);
  tools_->addWidget(button);
  return button;
}

QWidget* LabelDesigner::buildProperties() {
  auto* panel = new QWidget(this);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);

  auto* labelGroup = new QGroupBox(QStringLiteral("Etichetta"), panel);
  auto* labelForm = new QFormLayout(labelGroup);
  labelWidth_ = millimetreBox(labelGroup, QStringLiteral("LabelWidthBox"), 1);
  labelHeight_ = millimetreBox(labelGroup, QStringLiteral("LabelHeightBox"), 1);
  labelWidth_->setValue(project_.size.width());
  labelHeight_->setValue(project_.size.height());
  labelForm->addRow(QStringLiteral("Larghezza:"), labelWidth_);
  labelForm->addRow(QStringLiteral("Altezza:"), labelHeight_);
  for (QDoubleSpinBox* box : {labelWidth_, labelHeight_})
    connect(box, &QDoubleSpinBox::valueChanged, this, [this] {
      project_.size = QSizeF(labelWidth_->value(), labelHeight_->value());
      setLabelSize();
      setModified(true);
    });

  auto* objectGroup = new QGroupBox(QStringLiteral("Oggetto"), panel);
  objectPanel_ = objectGroup;
  auto* form = new QFormLayout(objectGroup);
  variable_ = new QComboBox(objectGroup);
  variable_->setObjectName(QStringLiteral("VariableBox"));
  variable_->setEditable(true);
  variable_->setInsertPolicy(QComboBox::NoInsert);
  fixedText_ = new QLineEdit(objectGroup);
  fixedText_->setObjectName(QStringLiteral("FixedTextEdit"));
  x_ = millimetreBox(objectGroup, QStringLiteral("XBox"), -1000);
  y_ = millimetreBox(objectGroup, QStringLiteral("YBox"), -1000);
  width_ = millimetreBox(objectGroup, QStringLiteral("WidthBox"), -1000);
  height_ = millimetreBox(objectGroup, QStringLiteral("HeightBox"), -1000);
  alignment_ = new QComboBox(objectGroup);
  alignment_->setObjectName(QStringLiteral("AlignmentBox"));
  alignment_->addItems(
      {QStringLiteral("Sinistra"), QStringLiteral("Centro"), QStringLiteral("Destra")});
  symbology_ = new QComboBox(objectGroup);
  symbology_->setObjectName(QStringLiteral("SymbologyBox"));
  symbology_->addItems({symbologyCaption(Symbology::Code128), symbologyCaption(Symbology::Ean13)});
  readable_ = new QCheckBox(QStringLiteral("Testo leggibile"), objectGroup);
  readable_->setObjectName(QStringLiteral("ReadableBox"));
  font_ = new QLabel(objectGroup);
  font_->setObjectName(QStringLiteral("FontLabel"));
  fontButton_ = new QPushButton(QStringLiteral("&Carattere..."), objectGroup);
  fontButton_->setObjectName(QStringLiteral("FontButton"));
  fontButton_->setAutoDefault(false);
  thickness_ = new QDoubleSpinBox(objectGroup);
  thickness_->setObjectName(QStringLiteral("ThicknessBox"));
  thickness_->setDecimals(2);
  thickness_->setSingleStep(0.1);
  thickness_->setRange(0.05, 10);
  thickness_->setSuffix(QStringLiteral(" mm"));
  auto* fontRow = new QHBoxLayout;
  fontRow->addWidget(font_, 1);
  fontRow->addWidget(fontButton_);
  form->addRow(QStringLiteral("Variabile:"), variable_);
  form->addRow(QStringLiteral("Testo fisso:"), fixedText_);
  form->addRow(QStringLiteral("X:"), x_);
  form->addRow(QStringLiteral("Y:"), y_);
  form->addRow(QStringLiteral("Larghezza:"), width_);
  form->addRow(QStringLiteral("Altezza:"), height_);
  form->addRow(QStringLiteral("Allineamento:"), alignment_);
  form->addRow(QStringLiteral("Codice:"), symbology_);
  form->addRow(QString(), readable_);
  form->addRow(QStringLiteral("Carattere:"), fontRow);
  form->addRow(QStringLiteral("Spessore:"), thickness_);

  connect(variable_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
    const QString name = text.trimmed();
    editCurrent([&](LabelObject& object) {
      // A bound object has no fixed text of its own (the file keeps one or
      // the other).
      object.variable = name == kFixedText ? QString() : name;
      if (!object.variable.isEmpty()) object.fixedText.clear();
    });
    fixedText_->setEnabled(objectPanel_->isEnabled() && (name.isEmpty() || name == kFixedText));
    if (!updatingPanel_ && currentIndex() >= 0)
      fixedText_->setText(project_.objects.at(currentIndex()).fixedText);
  });
  connect(fixedText_, &QLineEdit::textEdited, this, [this](const QString& text) {
    editCurrent([&](LabelObject& object) { object.fixedText = text; });
  });
  const auto geometry = [this] {
    editCurrent([&](LabelObject& object) {
      object.rect = QRectF(x_->value(), y_->value(), width_->value(), height_->value());
    });
  };
  for (QDoubleSpinBox* box : {x_, y_, width_, height_})
    connect(box, &QDoubleSpinBox::valueChanged, this, geometry);
  connect(alignment_, &QComboBox::currentIndexChanged, this, [this](int index) {
    editCurrent([&](LabelObject& object) { object.alignment = Alignment(index); });
  });
  connect(symbology_, &QComboBox::currentIndexChanged, this, [this](int index) {
    editCurrent([&](LabelObject& object) { object.symbology = Symbology(index); });
  });
  connect(readable_, &QCheckBox::toggled, this, [this](bool on) {
    editCurrent([&](LabelObject& object) { object.humanReadable = on; });
  });
  connect(thickness_, &QDoubleSpinBox::valueChanged, this, [this](double value) {
    editCurrent([&](LabelObject& object) { object.thickness = value; });
  });
  connect(fontButton_, &QPushButton::clicked, this, &LabelDesigner::chooseFont);

  auto* variablesGroup = new QGroupBox(QStringLiteral("Variabili"), panel);
  auto* variablesLayout = new QVBoxLayout(variablesGroup);
  variableList_ = new QTreeWidget(variablesGroup);
  variableList_->setObjectName(QStringLiteral("VariableList"));
  variableList_->setHeaderLabels({QStringLiteral("Variabile"), QStringLiteral("Valore")});
  variableList_->setRootIsDecorated(false);
  // The variables come sorted by name, as the map keeps them.
  for (auto it = variables_.begin(); it != variables_.end(); ++it)
    variableList_->addTopLevelItem(new QTreeWidgetItem({it.key(), it.value()}));
  variableList_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  // A double click binds the selected object to the variable.
  connect(variableList_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    if (currentIndex() >= 0 && project_.objects.at(currentIndex()).showsValue())
      variable_->setCurrentText(item->text(0));
  });
  variablesLayout->addWidget(variableList_);

  column->addWidget(labelGroup);
  column->addWidget(objectGroup);
  column->addWidget(variablesGroup, 1);
  panel->setFixedWidth(320);
  return panel;
}

int LabelDesigner::currentIndex() const {
  for (const DesignObjectItem* item : items_)
    if (item->isSelected()) return item->index();
  return -1;
}

void LabelDesigner::selectObject(int index) {
  scene_->clearSelection();
  if (index >= 0 && index < items_.size()) {
    items_.at(index)->setSelected(true);
    items_.at(index)->setFocus();
  }
}

void LabelDesigner::objectRectEdited(int index, const QRectF& rect) {
  project_.objects[index].rect = rect;
  setModified(true);
  if (index != currentIndex()) return;
  updatingPanel_ = true;
  x_->setValue(rect.x());
  y_->setValue(rect.y());
  width_->setValue(rect.width());
  height_->setValue(rect.height());
  updatingPanel_ = false;
}

void LabelDesigner::addObject(ObjectKind kind) {
  const QSizeF label = project_.size;
  LabelObject object;
  object.kind = kind;
  switch (kind) {
    case ObjectKind::Text:
      object.rect = QRectF(2, 2, qMax(10.0, qMin(40.0, label.width() - 4)), 6);
      object.fixedText = QStringLiteral("Testo");
      break;
    case ObjectKind::Barcode:
      object.rect = QRectF(2, 2, qMax(20.0, qMin(50.0, label.width() - 4)), 15);
      object.fixedText = QStringLiteral("123456789012");
      object.font.points = 8;
      break;
    case ObjectKind::Line:
      object.rect = QRectF(2, label.height() / 2, qMax(5.0, label.width() - 4), 0);
      break;
    case ObjectKind::Box:
      object.rect = QRectF(1, 1, qMax(2.0, label.width() - 2), qMax(2.0, label.height() - 2));
      break;
    case ObjectKind::Image: {
      const QString file = ui::prompter().chooseOpenFile(
          this, QStringLiteral("Immagine"), QFileInfo(path_).absolutePath(),
          QStringLiteral("Immagini (*.png *.jpg *.jpeg *.bmp)"));
      if (file.isEmpty()) return;
      // Pictures beside the project are named relatively, so the project
      // folder can be moved with them.
      const QDir projectDir = QFileInfo(path_).absoluteDir();
      const QString relative = projectDir.relativeFilePath(file);
      object.imageFile = relative.startsWith(QLatin1String("..")) ? file : relative;
      object.rect = QRectF(2, 2, 20, 10);
      break;
    }
  }
  project_.objects.append(object);
  rebuildItems();
  selectObject(int(project_.objects.size()) - 1);
  setModified(true);
}

void LabelDesigner::removeObject() {
  const int index = currentIndex();
  if (index < 0) return;
  project_.objects.removeAt(index);
  rebuildItems();
  showProperties();
  setModified(true);
}

void LabelDesigner::chooseFont() {
  const int index = currentIndex();
  if (index < 0) return;
  const LabelFont& current = project_.objects.at(index).font;
  QFont initial(current.family);
  initial.setPointSizeF(current.points);
  initial.setBold(current.bold);
  initial.setItalic(current.italic);
  const std::optional<QFont> chosen = ui::prompter().chooseFont(this, initial);
  if (!chosen) return;
  editCurrent([&](LabelObject& object) {
    object.font.family = chosen->family();
    object.font.points = chosen->pointSizeF() > 0 ? chosen->pointSizeF() : current.points;
    object.font.bold = chosen->bold();
    object.font.italic = chosen->italic();
  });
  font_->setText(fontText(project_.objects.at(index).font));
}

void LabelDesigner::rebuildItems() {
  // Forgotten before they are deleted: deleting a selected item changes the
  // selection, and the designer then looks for the selected one.
  const QList<DesignObjectItem*> old = std::exchange(items_, {});
  qDeleteAll(old);
  for (int index = 0; index < project_.objects.size(); ++index) {
    auto* item = new DesignObjectItem(*this, index);
    item->setZValue(index);
    scene_->addItem(item);
    items_.append(item);
  }
}

void LabelDesigner::fillVariableBox() {
  QStringList names = variables_.keys();
  for (const QString& name : project_.boundVariables())
    if (!names.contains(name)) names << name;
  names.sort();
  variable_->clear();
  variable_->addItem(kFixedText);
  variable_->addItems(names);
}

void LabelDesigner::showProperties() {
  updatingPanel_ = true;
  const int index = currentIndex();
  objectPanel_->setEnabled(index >= 0);
  fillVariableBox();
  if (index >= 0) {
    const LabelObject& object = project_.objects.at(index);
    const bool value = object.showsValue();
    variable_->setCurrentText(object.variable.isEmpty() ? kFixedText : object.variable);
    fixedText_->setText(object.fixedText);
    x_->setValue(object.rect.x());
    y_->setValue(object.rect.y());
    const double minimum = object.kind == ObjectKind::Line ? -1000 : 0;
    width_->setMinimum(minimum);
    height_->setMinimum(minimum);
    width_->setValue(object.rect.width());
    height_->setValue(object.rect.height());
    alignment_->setCurrentIndex(int(object.alignment));
    symbology_->setCurrentIndex(int(object.symbology));
    readable_->setChecked(object.humanReadable);
    thickness_->setValue(object.thickness);
    font_->setText(value ? fontText(object.font) : QString());
    variable_->setEnabled(value);
    fixedText_->setEnabled(value && object.variable.isEmpty());
    alignment_->setEnabled(object.kind == ObjectKind::Text);
    symbology_->setEnabled(object.kind == ObjectKind::Barcode);
    readable_->setEnabled(object.kind == ObjectKind::Barcode);
    fontButton_->setEnabled(value);
    thickness_->setEnabled(object.kind == ObjectKind::Line || object.kind == ObjectKind::Box);
  } else {
    fixedText_->clear();
    font_->clear();
  }
  updatingPanel_ = false;
}

template <class Edit>
void LabelDesigner::editCurrent(Edit edit) {
  const int index = currentIndex();
  if (updatingPanel_ || index < 0) return;
  LabelObject& object = project_.objects[index];
  const LabelObject before = object;
  edit(object);
  if (object == before) return;
  items_.at(index)->syncFromObject();
  setModified(true);
}

void LabelDesigner::setLabelSize() {
  page_->setRect(QRectF(QPointF(0, 0), project_.size));
  scene_->setSceneRect(
      QRectF(QPointF(0, 0), project_.size)
          .adjusted(-kSceneMarginMm, -kSceneMarginMm, kSceneMarginMm, kSceneMarginMm));
}

void LabelDesigner::setModified(bool modified) {
  modified_ = modified;
  setWindowTitle(
      QStringLiteral("%1 - %2%3")
          .arg(title_, QFileInfo(path_).fileName(), modified ? QStringLiteral(" *") : QString()));
}

bool LabelDesigner::save() {
  QString error;
  if (!saveLabelProject(path_, project_, error)) {
    ui::error(error);
    return false;
  }
  setModified(false);
  return true;
}

void LabelDesigner::reject() {
  if (modified_) {
    const ui::Button answer =
        ui::ask(QStringLiteral("Salvare le modifiche al progetto etichetta %1?")
                    .arg(QFileInfo(path_).fileName()),
                ui::Yes | ui::No | ui::Cancel);
    if (answer == ui::Cancel || answer == ui::NoButton) return;
    if (answer == ui::Yes && !save()) return;
  }
  QDialog::reject();
}

}  // namespace platform::reports
