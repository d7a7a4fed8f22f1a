#include "labels/ImportProgressDialog.h"

#include "ui/Prompter.h"

namespace labels {

namespace {

// Repainting and polling the cancel button after every line would cost more
// than the line itself.
constexpr int kUpdateEveryMs = 50;

}  // namespace

ImportProgressDialog::ImportProgressDialog(QWidget* parent)
    : dialog_(QStringLiteral("Importazione etichette in corso..."), QStringLiteral("Annulla"), 0, 0,
              parent) {
  dialog_.setObjectName(QStringLiteral("ProgressImport"));
  dialog_.setWindowTitle(QStringLiteral("Carica Da File"));
  dialog_.setWindowModality(Qt::WindowModal);
  dialog_.setMinimumDuration(kShowAfterMs);
  dialog_.setAutoReset(false);
  dialog_.setAutoClose(false);
}

bool ImportProgressDialog::advance(int done, int total) {
  if (done == 0) {
    dialog_.setMaximum(total);
    dialog_.setValue(0);
    sinceUpdate_.start();
  } else if (done >= total || sinceUpdate_.elapsed() >= kUpdateEveryMs) {
    // For a window-modal dialog setValue also runs pending events, which
    // is when a click on the cancel button arrives.
    dialog_.setValue(done);
    sinceUpdate_.restart();
  }
  return !dialog_.wasCanceled();
}

std::optional<ImportResult> CaricaDaFile(QWidget* parent, db::Query& queryAux,
                                         const QString& binDir) {
  const QString file = ui::prompter().chooseOpenFile(parent, {}, {}, {});
  if (file.isEmpty()) return std::nullopt;
  ImportProgressDialog progress(parent);
  ImportResult result = ImportaEtichette(queryAux, binDir, file, &progress);
  progress.dialog().hide();
  return result;
}

}  // namespace labels
