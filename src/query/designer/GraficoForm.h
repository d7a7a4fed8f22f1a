#pragma once

#include <QString>
#include <memory>

#include "platform/crystal/PrintEngine.h"
#include "query/designer/ChartRequest.h"
#include "query/designer/ChartTable.h"
#include "ui/ModalDialog.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class TRadioGroup;

namespace db {
class DataSet;
}

// "Elaborazione grafici": a chart of the answer. The x column
// ("EditDescrizione1") and the value column ("EditValore"), further value
// columns as additional series ("&Campi valori aggiunti", shown in
// "ListBox1"), the chart type in the group that applies ("RadioGroup1"
// without additional series, "RadioGroup2" with them), the orientation
// ("RadioGroup3") and the ordering ("RadioGroup4"), a title and the axes'
// descriptions. "&Visualizza" fills the chart table and shows the chart
// drawn by its report file (bin directory + "report\") in a window "STAMPA
// GRAFICO" of its own; "Ch&iudi" closes, deleting a chart table taken
// under another name.
class TGraficoForm : public ui::ModalDialog {
  Q_OBJECT

 public:
  TGraficoForm(QWidget* owner, const QString& ditta, const QString& binDir, const QString& baseDir,
               db::DataSet& answer);
  ~TGraficoForm() override;

  QComboBox* EditDescrizione1() const { return editDescrizione1_; }
  QComboBox* EditValore() const { return editValore_; }
  QListWidget* ListBox1() const { return listBox1_; }
  QListWidget* ListBox2() const { return listBox2_; }
  TRadioGroup* RadioGroup1() const { return radioGroup1_; }
  TRadioGroup* RadioGroup2() const { return radioGroup2_; }
  TRadioGroup* RadioGroup3() const { return radioGroup3_; }
  TRadioGroup* RadioGroup4() const { return radioGroup4_; }
  const query::designer::ChartTable& tabellaGrafico() const { return table_; }
  platform::crystal::PrintEngine& engine() { return engine_; }

  // The commands, as the controls run them.
  void ButtonCampiValoriAggiuntiClick();
  void ButtonOkClick();
  void ButtonCancelClick();
  void ButtonVisualizzaClick();

  void done(int result) override;

 private:
  void EditDescrizione1Change();
  void EditValoreChange();
  // The request's choices and texts into the controls, and the typed texts
  // and chosen items back.
  void showRequest();
  void readControls();
  void showSeriesPanel(bool shown);

  db::DataSet& answer_;
  QString ditta_;
  QString binDir_;
  platform::crystal::PrintEngine engine_;
  query::designer::ChartTable table_;
  query::designer::ChartRequest request_;
  bool showing_ = false;

  QComboBox* editDescrizione1_;
  QComboBox* editValore_;
  QLineEdit* editTitolo_;
  QLineEdit* editDescrAsseX_;
  QLineEdit* editDescrAsseY_;
  QLineEdit* editDescrAsseZ_;
  QListWidget* listBox1_;
  QListWidget* listBox2_;
  TRadioGroup* radioGroup1_;
  TRadioGroup* radioGroup2_;
  TRadioGroup* radioGroup3_;
  TRadioGroup* radioGroup4_;
  QWidget* texts_;
  QWidget* groups_;
  QWidget* commands_;
  QWidget* seriesPanel_;
};
