#include "platform/crystal/TextReportWindow.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Prompter.h"

namespace platform::crystal {

namespace {

QPushButton* commandButton(const QString& name, const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TextReportWindow::TextReportWindow(const TextDefinition& text, QList<TextPage> pages,
                                   const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Window),
      text_(text),
      pages_(std::move(pages)),
      printer_(new QPrinter(QPrinter::HighResolution)) {
  setObjectName(QStringLiteral("TextReportWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(title);
  applyTextPage(text_, *printer_);
  preview_ = new QPrintPreviewWidget(printer_, this);
  preview_->setObjectName(QStringLiteral("TextPreview"));
  connect(preview_, &QPrintPreviewWidget::paintRequested, this,
          [this](QPrinter* printer) { paintTextPages(text_, pages_, *printer); });
  QPushButton* stampa =
      commandButton(QStringLiteral("ButtonStampa"), QStringLiteral("&Stampa"), this);
  QPushButton* salva =
      commandButton(QStringLiteral("ButtonSalva"), QStringLiteral("&Salva PDF..."), this);
  QPushButton* chiudi =
      commandButton(QStringLiteral("ButtonChiudi"), QStringLiteral("&Chiudi"), this);
  connect(stampa, &QPushButton::clicked, this, &TextReportWindow::print);
  connect(salva, &QPushButton::clicked, this, [this] { save(); });
  connect(chiudi, &QPushButton::clicked, this, &QWidget::close);
  auto* bar = new QHBoxLayout;
  bar->addWidget(stampa);
  bar->addWidget(salva);
  bar->addStretch();
  bar->addWidget(chiudi);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(bar);
  layout->addWidget(preview_, 1);
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
