// The result view's "&Esporta": the export settings window, then the export
// of the answer as it is shown.
#include <QLocale>
#include <QProgressDialog>
#include <QTableView>
#include <algorithm>
#include <optional>

#include "db/Query.h"
#include "query/designer/AnswerModel.h"
#include "query/designer/QIBEspForm.h"
#include "query/designer/ResultView.h"
#include "query/designer/XendoLibrary.h"
#include "query/engine/QueryEngine.h"
#include "query/output/AnswerExport.h"
#include "ui/Prompter.h"

namespace query::designer {

namespace {

// A progress window for the length of an export.
class ExportProgress {
 public:
  ExportProgress(const QString& caption, QWidget* parent)
      : dialog_(QString(), QString(), 0, 100, parent) {
    dialog_.setObjectName(QStringLiteral("FormAvanzamento"));
    dialog_.setWindowTitle(caption);
    dialog_.setCancelButton(nullptr);
    dialog_.setMinimumDuration(0);
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setValue(0);
  }
  void set(int percent) { dialog_.setValue(percent); }

 private:
  QProgressDialog dialog_;
};

}  // namespace

QList<output::ExportColumn> ResultView::exportColumns() const {
  QList<output::ExportColumn> columns;
  for (const grid::GridColumn& column : model_->columns()) {
    if (!column.visible) continue;
    columns << output::ExportColumn{column.field, column.fieldName, column.caption,
                                    column.width / model_->characterWidth(),
                                    engine_.codes().TipoRaggruppamento(column.field)};
  }
  return columns;
}

void ResultView::ButtonEsportaClick() {
  if (!EsportaNuovo()) EsportaVecchio();
}

bool ResultView::EsportaNuovo() {
  TQIBEspForm form(store_, settings_.ditta, output::defaultTextFileName(settings_.tabella),
                   QStringLiteral(";"), this);
  const int result = ui::runDialog(form);
  if (result != ui::ResultOk && result != TQIBEspForm::ResultApriExcel) return true;
  const output::ExportChoice choice = form.choice();
  output::AnswerToExport source{answer_, exportColumns(), settings_.directoryBin, QLocale()};
  output::ExportOutcome outcome;
  {
    std::optional<ExportProgress> progress;
    if (choice.type == output::ExportType::Testo)
      progress.emplace(QStringLiteral("Avanzamento"), this);
    else if (choice.type == output::ExportType::IB)
      progress.emplace(QStringLiteral("Esportazione in corso..."), this);
    outcome = output::exportAnswer(choice, source, xendoLibrary(), result == ui::ResultOk,
                                   [&progress](int percent) {
                                     if (progress) progress->set(percent);
                                   });
  }
  ui::show(outcome.messages);
  if (outcome.done && result == TQIBEspForm::ResultApriExcel) {
    const QString refused =
        output::openWithProgram(store_.read(output::kProgrammaExcel), choice.target());
    if (!refused.isEmpty()) ui::error(refused);
  }
  return !outcome.fallback;
}

void ResultView::EsportaVecchio() {
  TQIBEspForm form(store_, settings_.ditta, output::defaultTextFileName(settings_.tabella),
                   QStringLiteral(";"), this);
  const int result = ui::runDialog(form);
  if (result != ui::ResultOk && result != TQIBEspForm::ResultApriExcel) return;
  const output::ExportOutcome outcome = output::exportAnswerRows(
      form.choice(), answer_, exportColumns(), QLocale(), result == ui::ResultOk);
  if (model_->rowCount() > 0)
    grid_->setCurrentIndex(model_->index(0, std::max(grid_->currentIndex().column(), 0)));
  ui::show(outcome.messages);
}

}  // namespace query::designer
