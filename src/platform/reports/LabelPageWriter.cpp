#include "platform/reports/LabelPageWriter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

namespace platform::reports {

void setUpLabelPrinter(QPrinter& printer, const LabelProject& project) {
  // The page is given as the label is drawn, wider than high when it is.
  const QPageSize page(project.size, QPageSize::Millimeter, QStringLiteral("Etichetta"),
                       QPageSize::ExactMatch);
  printer.setFullPage(true);
  printer.setPageLayout(
      QPageLayout(page, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
  printer.setCopyCount(1);
}

LabelPageWriter::LabelPageWriter(QPrinter& printer, const LabelProject& project,
                                 const QString& projectDir)
    : printer_(printer), project_(project), renderer_(projectDir) {}

bool LabelPageWriter::begin(QString& error) {
  if (painter_.begin(&printer_)) return true;
  error =
      printer_.outputFormat() == QPrinter::PdfFormat
          ? QStringLiteral("Impossibile scrivere il file PDF %1").arg(printer_.outputFileName())
          : QStringLiteral("Impossibile stampare sulla stampante %1").arg(printer_.printerName());
  return false;
}

bool LabelPageWriter::write(const Variables& variables, int copies) {
  const double perMm = printer_.resolution() / 25.4;
  for (int copy = 0; copy < copies; ++copy) {
    if (pages_ > 0 && !printer_.newPage()) return false;
    painter_.resetTransform();
    painter_.scale(perMm, perMm);
    renderer_.paintLabel(painter_, project_, variables);
    ++pages_;
  }
  return printer_.printerState() != QPrinter::Error;
}

bool LabelPageWriter::end() {
  return !painter_.isActive() || painter_.end();
}

}  // namespace platform::reports
