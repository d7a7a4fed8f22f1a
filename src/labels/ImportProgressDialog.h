#pragma once

#include <QElapsedTimer>
#include <QProgressDialog>
#include <optional>

#include "labels/ImportaEtichette.h"

class QWidget;

namespace db {
class Query;
}

namespace labels {

// The progress of an import on screen: a window-modal progress dialog with
// a cancel button, which appears only when the import takes long enough to
// need it (a large file). Cancelling undoes the whole import.
class ImportProgressDialog : public ImportProgress {
 public:
  explicit ImportProgressDialog(QWidget* parent);

  bool advance(int done, int total) override;
  QProgressDialog& dialog() { return dialog_; }

  // How long an import runs before the dialog appears.
  static constexpr int kShowAfterMs = 500;

 private:
  QProgressDialog dialog_;
  QElapsedTimer sinceUpdate_;
};

// "Carica Da &File" of the label window: asks for the file (`DialogApri`,
// default settings) and imports it with the progress dialog. Returns nothing
// when the user chose no file; otherwise the import's result, after which
// the window reopens its list.
std::optional<ImportResult> CaricaDaFile(QWidget* parent, db::Query& queryAux,
                                         const QString& binDir);

}  // namespace labels
