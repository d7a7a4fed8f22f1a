#include "platform/crystal/TextReportWindow.h"

#include <QDir>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include "platform/crystal/OutputWindow.h"
#include "ui/Prompter.h"

namespace platform::crystal {

TextReportWindow::TextReportWindow(const TextDefinition& text, QList<TextPage> pages,
                                   const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Window),
      text_(text),
      pages_(std::move(pages)),
      printer_(new QPrinter(QPrinter::HighResolution)) {
  setObjectName(QStringLiteral("TextReportWindow"));
  applyTextPage(text_, *printer_);
  preview_ = new QPrintPreviewWidget(printer_, this);
  preview_->setObjectName(QStringLiteral("TextPreview"));
  connect(preview_, &QPrintPreviewWidget::paintRequested, this,
          [this](QPrinter* printer) { paintTextPages(text_, pages_, *printer); });
  layOutOutputWindow(
      *this, title, preview_, QStringLiteral("&Salva PDF..."), [this] { print(); },
      [this] { save(); });
}

TextReportWindow::~TextReportWindow() {
  delete preview_;  // before the printer it previews
  preview_ = nullptr;
  delete printer_;
}

void TextReportWindow::print() {
  QPrinter printer(QPrinter::HighResolution);
  applyTextPage(text_, printer);
  QPrintDialog dialog(&printer, this);
  if (ui::runDialog(dialog) != QDialog::Accepted) return;
  if (!paintTextPages(text_, pages_, printer))
    ui::error(QStringLiteral("Impossibile stampare sulla stampante %1").arg(printer.printerName()));
}

bool TextReportWindow::save(const QString& path) {
  QString file = path;
  if (file.isEmpty())
    file = ui::prompter().chooseSaveFile(this, QStringLiteral("Salva stampa"), QDir::homePath(),
                                         QStringLiteral("Documento PDF (*.pdf)"));
  if (file.isEmpty()) return false;
  QString error;
  if (saveTextReport(text_, pages_, file, error)) return true;
  ui::error(error);
  return false;
}

}  // namespace platform::crystal
