#include "platform/crystal/ChartWindow.h"

#include <QChartView>
#include <QDir>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/crystal/OutputWindow.h"
#include "ui/Prompter.h"

namespace platform::crystal {

ChartWindow::ChartWindow(const ChartContent& content, const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Window),
      content_(content),
      view_(new QChartView(buildChart(content.definition, content.points, content.texts), this)) {
  setObjectName(QStringLiteral("ChartWindow"));
  view_->setObjectName(QStringLiteral("ChartView"));
  view_->setRenderHint(QPainter::Antialiasing);
  layOutOutputWindow(
      *this, title, view_, QStringLiteral("&Salva..."), [this] { print(); }, [this] { save(); });
}

void ChartWindow::print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  QPrintDialog dialog(&printer, this);
  if (ui::runDialog(dialog) != QDialog::Accepted) return;
  if (!printChart(content_, printer, view_->size()))
    ui::error(QStringLiteral("Impossibile stampare il grafico sulla stampante %1")
                  .arg(printer.printerName()));
}

bool ChartWindow::save(const QString& path) {
  QString file = path;
  if (file.isEmpty())
    file = ui::prompter().chooseSaveFile(
        this, QStringLiteral("Salva grafico"), QDir::homePath(),
        QStringLiteral("Immagine PNG (*.png);;Documento PDF (*.pdf)"));
  if (file.isEmpty()) return false;
  QString error;
  if (saveChart(content_, file, view_->size(), error)) return true;
  ui::error(error);
  return false;
}

}  // namespace platform::crystal
