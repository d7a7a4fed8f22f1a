#pragma once

#include <QWidget>
#include <memory>

#include "query/designer/IBLQueryForm.h"
#include "query/model/LayoutCopy.h"
#include "query/output/ExportSettings.h"
#include "query/output/TextExport.h"

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace db {
class Query;
}

namespace query::designer {

class AnswerModel;
struct PrintOptionsKept;

// The designer's result view: the answer in a grid with its button bar and
// key hints. F3 hides the current column (never the last visible one), F4
// reopens the answer in its base layout, F5 cycles the current column's
// digit grouping, F7 switches to the single-record view and back.
class ResultView : public QWidget {
  Q_OBJECT
 public:
  ResultView(db::Query& answer, engine::QueryEngine& engine, model::DesignerFlags& flags,
             const DesignerSettings& settings, QWidget* parent = nullptr);
  ~ResultView() override;

  // The answer has just been opened by a run.
  void answerOpened();
  // Enables the bar's buttons when the view is shown (SettaggioControlli).
  void setControlsEnabled(bool enabled);

  QTableView* grid() const { return grid_; }
  AnswerModel* answerModel() const { return model_; }
  bool singleRecord() const { return flags_.singleRecordView; }

  // Where the export keeps its settings: the designer's.
  void setSettingsStore(output::SettingsStore store) { store_ = std::move(store); }
  // The visible columns as the export writes them: in their order, with
  // their widths in characters, titles and digit grouping.
  QList<output::ExportColumn> exportColumns() const;

  // "&Esporta": the export, and when it fails the plain text export from
  // the shown rows.
  void ButtonEsportaClick();
  // False when the export failed in a way the fallback may overcome.
  bool EsportaNuovo();
  void EsportaVecchio();

  // The commands of the bar and the keys.
  void NumeroRecord();
  void CambiaFont();
  void MostraUnRecord();
  void Somma();
  void OrdinaETotali();
  void Grafico();
  void nascondiColonna();
  void aspettoBase();
  void raggruppaCifre();
  void Stampa();

 signals:
  void ritornaAQuery();
  void chiudi();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The answer's columns, in their order, as the layout copy sees them.
  QList<model::AnswerColumn> answerColumns() const;
  void applyColumns(const QList<model::AnswerColumn>& columns);
  void showColumns();
  void showRecordView(bool on);
  void adjustDatoWidth();

  db::Query& answer_;
  engine::QueryEngine& engine_;
  model::DesignerFlags& flags_;
  const DesignerSettings& settings_;
  output::SettingsStore store_;
  AnswerModel* model_;
  QStandardItemModel* recordModel_;
  QTableView* grid_;
  QList<QPushButton*> barButtons_;
  QPushButton* nRec_;
  QPushButton* font_;
  QPushButton* singolo_;
  QPushButton* somma_;
  QPushButton* ordTot_;
  QPushButton* grafico_;
  QPushButton* stampa_;
  QPushButton* esporta_;
  QPushButton* ritorna_;
  QPushButton* chiudi_;
  QWidget* hints_;
  std::unique_ptr<PrintOptionsKept> printOptions_;
};

}  // namespace query::designer
