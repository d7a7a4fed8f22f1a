#include "query/designer/GraficoForm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "db/DataSet.h"
#include "grid/RadioGroup.h"
#include "query/designer/ChartReport.h"
#include "query/designer/DesignerDialog.h"
#include "query/designer/DesignerWidgets.h"
#include "ui/Prompter.h"

using namespace query::designer;

namespace {

TRadioGroup* radioGroup(const QString& name, const QString& title, const QStringList& items,
                        int columns, QWidget* parent) {
  auto* group = new TRadioGroup(title, parent);
  group->setObjectName(name);
  group->setItems(items);
  group->setColumns(columns);
  return group;
}

QLineEdit* lineEdit(const QString& name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  return edit;
}

}  // namespace

TGraficoForm::TGraficoForm(QWidget* owner, const QString& ditta, const QString& binDir,
                           const QString& baseDir, db::DataSet& answer)
    : ui::ModalDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                 Qt::WindowCloseButtonHint),
      answer_(answer),
      ditta_(ditta),
      binDir_(binDir),
      table_(baseDir),
      editDescrizione1_(new QComboBox(this)),
      editValore_(new QComboBox(this)),
      listBox1_(new QListWidget(this)),
      listBox2_(new QListWidget(this)) {
  setObjectName(QStringLiteral("GraficoForm"));
  setWindowTitle(QStringLiteral("Elaborazione grafici"));
  editDescrizione1_->setObjectName(QStringLiteral("EditDescrizione1"));
  editValore_->setObjectName(QStringLiteral("EditValore"));
  listBox1_->setObjectName(QStringLiteral("ListBox1"));
  listBox1_->setSelectionMode(QAbstractItemView::NoSelection);
  listBox1_->setFocusPolicy(Qt::NoFocus);
  listBox2_->setObjectName(QStringLiteral("ListBox2"));
  listBox2_->setSelectionMode(QAbstractItemView::MultiSelection);
  editDescrizione1_->addItems(xColumns(answer_));
  editDescrizione1_->setCurrentIndex(-1);
  editDescrizione1_->setMinimumWidth(220);
  editValore_->setMinimumWidth(220);

  // The choices of columns and the additional series.
  auto* columns = new QGridLayout;
  auto* xCaption = new QLabel(QStringLiteral("Campo descrizione asse x:"), this);
  xCaption->setBuddy(editDescrizione1_);
  auto* valueCaption = new QLabel(QStringLiteral("Campo valori asse y:"), this);
  valueCaption->setBuddy(editValore_);
  QPushButton* aggiunti = namedButton(QStringLiteral("ButtonCampiValoriAggiunti"),
                                      QStringLiteral("&Campi valori aggiunti"), this);
  columns->addWidget(xCaption, 0, 0);
  columns->addWidget(editDescrizione1_, 1, 0);
  columns->addWidget(valueCaption, 2, 0);
  columns->addWidget(editValore_, 3, 0);
  columns->addWidget(aggiunti, 4, 0);
  columns->addWidget(listBox1_, 5, 0);
  listBox1_->setMaximumHeight(90);
  // The choices stay at the top when the series panel makes the dialog taller.
  columns->setRowStretch(6, 1);

  // The title and the axes' descriptions.
  texts_ = new QWidget(this);
  auto* texts = new QGridLayout(texts_);
  texts->setContentsMargins(0, 0, 0, 0);
  editTitolo_ = lineEdit(QStringLiteral("EditTitolo"), texts_);
  editDescrAsseX_ = lineEdit(QStringLiteral("EditDescrAsseX"), texts_);
  editDescrAsseY_ = lineEdit(QStringLiteral("EditDescrAsseY"), texts_);
  editDescrAsseZ_ = lineEdit(QStringLiteral("EditDescrAsseZ"), texts_);
  const struct {
    const char* caption;
    const char* name;
    QLineEdit* box;
  } boxes[] = {{"&Titolo grafico", "ButtonTitolo", editTitolo_},
               {"Descrizione asse &x", "ButtonDescrAsseX", editDescrAsseX_},
               {"Descrizione asse &y", "ButtonDescrAsseY", editDescrAsseY_},
               {"Descrizione asse &z", "ButtonDescrAsseZ", editDescrAsseZ_}};
  int line = 0;
  for (const auto& box : boxes) {
    texts->addWidget(
        focusCaption(QString::fromUtf8(box.caption), QLatin1String(box.name), box.box, texts_),
        line, 0);
    texts->addWidget(box.box, line++, 1);
  }

  // The chart type, orientation and ordering.
  groups_ = new QWidget(this);
  radioGroup1_ =
      radioGroup(QStringLiteral("RadioGroup1"), QStringLiteral("Tipo grafico (valori x/y)"),
                 kTipiGraficoXY, 1, groups_);
  radioGroup2_ =
      radioGroup(QStringLiteral("RadioGroup2"), QStringLiteral("Tipo grafico (valori x/y/z)"),
                 kTipiGraficoXYZ, 2, groups_);
  radioGroup3_ =
      radioGroup(QStringLiteral("RadioGroup3"), QStringLiteral("Orientamento"),
                 {QStringLiteral("Orizzontale"), QStringLiteral("Verticale")}, 2, groups_);
  radioGroup4_ = radioGroup(QStringLiteral("RadioGroup4"), QStringLiteral("Ordinamento"),
                            {QStringLiteral("Originale"), QStringLiteral("Ordina")}, 2, groups_);
  radioGroup3_->setItemIndex(0);
  radioGroup4_->setItemIndex(1);
  auto* groups = new QGridLayout(groups_);
  groups->setContentsMargins(0, 0, 0, 0);
  groups->addWidget(radioGroup1_, 0, 0, 2, 1);
  groups->addWidget(radioGroup2_, 0, 1);
  auto* lower = new QHBoxLayout;
  lower->addWidget(radioGroup3_);
  lower->addWidget(radioGroup4_);
  groups->addLayout(lower, 1, 1);

  commands_ = new QWidget(this);
  auto* commands = new QHBoxLayout(commands_);
  commands->setContentsMargins(0, 0, 0, 0);
  QPushButton* visualizza =
      namedButton(QStringLiteral("ButtonVisualizza"), QStringLiteral("&Visualizza"), commands_);
  QPushButton* chiudi =
      namedButton(QStringLiteral("ButtonChiudi"), QStringLiteral("Ch&iudi"), commands_);
  commands->addStretch();
  commands->addWidget(visualizza);
  commands->addWidget(chiudi);

  // The additional series, in place of the rest while they are chosen.
  seriesPanel_ = new QWidget(this);
  auto* series = new QVBoxLayout(seriesPanel_);
  series->setContentsMargins(0, 0, 0, 0);
  auto* seriesCaption = new QLabel(QStringLiteral("Campi valori aggiunti:"), seriesPanel_);
  seriesCaption->setBuddy(listBox2_);
  series->addWidget(seriesCaption);
  series->addWidget(listBox2_, 1);
  auto* seriesButtons = new QHBoxLayout;
  QPushButton* ok = namedButton(QStringLiteral("ButtonOk"), QStringLiteral("OK"), seriesPanel_);
  QPushButton* cancel =
      namedButton(QStringLiteral("ButtonCancel"), QStringLiteral("Cancel"), seriesPanel_);
  seriesButtons->addStretch();
  seriesButtons->addWidget(ok);
  seriesButtons->addWidget(cancel);
  series->addLayout(seriesButtons);
  seriesPanel_->hide();

  auto* top = new QHBoxLayout;
  top->addLayout(columns);
  top->addWidget(texts_, 1);
  top->addWidget(seriesPanel_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(groups_);
  layout->addWidget(commands_);
  setCancelButton(chiudi);
  setFirstFocus(editDescrizione1_);

  connect(editDescrizione1_, &QComboBox::currentIndexChanged, this, [this] {
    if (!showing_) EditDescrizione1Change();
  });
  connect(editValore_, &QComboBox::currentIndexChanged, this, [this] {
    if (!showing_) EditValoreChange();
  });
  connect(aggiunti, &QPushButton::clicked, this, &TGraficoForm::ButtonCampiValoriAggiuntiClick);
  connect(ok, &QPushButton::clicked, this, &TGraficoForm::ButtonOkClick);
  connect(cancel, &QPushButton::clicked, this, &TGraficoForm::ButtonCancelClick);
  connect(visualizza, &QPushButton::clicked, this, &TGraficoForm::ButtonVisualizzaClick);
  connect(chiudi, &QPushButton::clicked, this, [this] { done(ui::ResultCancel); });
  showRequest();
}

TGraficoForm::~TGraficoForm() = default;

void TGraficoForm::done(int result) {
  table_.dropAlternative();
  ui::ModalDialog::done(result);
}

void TGraficoForm::readControls() {
  request_.titolo = editTitolo_->text();
  request_.descrizioneX = editDescrAsseX_->text();
  request_.descrizioneY = editDescrAsseY_->text();
  request_.descrizioneZ = editDescrAsseZ_->text();
  if (seriesGroupActive(request_))
    request_.tipoXYZ = radioGroup2_->ItemIndex();
  else
    request_.tipoXY = radioGroup1_->ItemIndex();
  request_.verticale = radioGroup3_->ItemIndex() == 1;
  request_.originale = radioGroup4_->ItemIndex() == 0;
}

void TGraficoForm::showRequest() {
  showing_ = true;
  editValore_->setCurrentIndex(editValore_->findText(request_.valueColumn));
  editDescrAsseX_->setText(request_.descrizioneX);
  editDescrAsseY_->setText(request_.descrizioneY);
  listBox1_->clear();
  listBox1_->addItems(request_.series);
  const bool xyz = seriesGroupActive(request_);
  radioGroup1_->setEnabled(!xyz);
  radioGroup2_->setEnabled(xyz);
  radioGroup1_->setItemIndex(request_.tipoXY);
  radioGroup2_->setItemIndex(request_.tipoXYZ);
  showing_ = false;
}

void TGraficoForm::EditDescrizione1Change() {
  readControls();
  chooseXColumn(request_, editDescrizione1_->currentText());
  showing_ = true;
  editValore_->clear();
  editValore_->addItems(valueColumns(answer_, request_.xColumn));
  showing_ = false;
  showRequest();
}

void TGraficoForm::EditValoreChange() {
  readControls();
  chooseValueColumn(request_, editValore_->currentText());
  showRequest();
}

void TGraficoForm::ButtonCampiValoriAggiuntiClick() {
  if (request_.xColumn.isEmpty() || request_.valueColumn.isEmpty()) {
    ui::warning(QStringLiteral("Impostare prima i Campi relativi alle coordinate X e Y"));
    return;
  }
  listBox2_->clear();
  for (const QString& column : valueColumns(answer_, request_.xColumn))
    if (column != request_.valueColumn) listBox2_->addItem(column);
  showSeriesPanel(true);
}

void TGraficoForm::ButtonOkClick() {
  QStringList chosen;
  for (int i = 0; i < listBox2_->count(); ++i)
    if (listBox2_->item(i)->isSelected()) chosen << listBox2_->item(i)->text();
  readControls();
  setAdditionalSeries(request_, chosen);
  showSeriesPanel(false);
  showRequest();
}

void TGraficoForm::ButtonCancelClick() {
  showSeriesPanel(false);
}

void TGraficoForm::showSeriesPanel(bool shown) {
  for (QWidget* part : {texts_, groups_, commands_}) part->setVisible(!shown);
  seriesPanel_->setVisible(shown);
  // The columns stay as they are while the series are chosen from them.
  editValore_->setEnabled(!shown);
  editDescrizione1_->setEnabled(!shown);
  if (shown) listBox2_->setFocus();
}

void TGraficoForm::ButtonVisualizzaClick() {
  readControls();
  const QString problem = chartRequestProblem(request_);
  if (!problem.isEmpty()) {
    ui::warning(problem);
    return;
  }
  drawChart(table_, answer_, request_,
            binDir_ + QStringLiteral("report\\") + chartReportFile(request_), engine_, {this, {}});
}
