#include "platform/crystal/ChartWindow.h"

#include <QChartView>
#include <QDir>
#include <QHBoxLayout>
#include <QPrintDialog>
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

ChartWindow::ChartWindow(const ChartContent& content, const QString& title, QWidget* parent)
    : QWidget(parent, Qt::Window),
      content_(content),
      view_(new QChartView(buildChart(content.definition, content.points, content.texts), this)) {
  setObjectName(QStringLiteral("ChartWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(title);
  view_->setObjectName(QStringLiteral("ChartView"));
  view_->setRenderHint(QPainter::Antialiasing);
  QPushButton* stampa =
      commandButton(QStringLiteral("ButtonStampa"), QStringLiteral("&Stampa"), this);
  QPushButton* salva =
      commandButton(QStringLiteral("ButtonSalva"), QStringLiteral("&Salva..."), this);
  QPushButton* chiudi =
      commandButton(QStringLiteral("ButtonChiudi"), QStringLiteral("&Chiudi"), this);
  connect(stampa, &QPushButton::clicked, this, &ChartWindow::print);
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
  layout->addWidget(view_, 1);
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
