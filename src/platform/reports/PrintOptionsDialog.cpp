#include "platform/reports/PrintOptionsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/reports/LabelEngine.h"
#include "ui/Prompter.h"

namespace platform::reports {

PrintOptionsDialog::PrintOptionsDialog(QWidget* parent, const QString& title,
                                       const PrintSettings& initial)
    : QDialog(parent) {
  setObjectName(QStringLiteral("PrintOptionsDialog"));
  setWindowTitle(title);

  printers_ = new QComboBox(this);
  printers_->setObjectName(QStringLiteral("PrinterBox"));
  printers_->addItems(QPrinterInfo::availablePrinterNames());
  const QString wanted = initial.printer.isEmpty() ? defaultLabelPrinter() : initial.printer;
  if (const int index = printers_->findText(wanted); index >= 0) printers_->setCurrentIndex(index);

  copies_ = new QSpinBox(this);
  copies_->setObjectName(QStringLiteral("CopiesBox"));
  copies_->setRange(1, 999);
  copies_->setValue(qBound(1, initial.copies, 999));

  toPrinter_ = new QRadioButton(QStringLiteral("&Stampante"), this);
  toPrinter_->setObjectName(QStringLiteral("PrinterButton"));
  toPreview_ = new QRadioButton(QStringLiteral("&Anteprima"), this);
  toPreview_->setObjectName(QStringLiteral("PreviewButton"));
  toPdf_ = new QRadioButton(QStringLiteral("File &PDF"), this);
  toPdf_->setObjectName(QStringLiteral("PdfButton"));
  pdfFile_ = new QLineEdit(initial.pdfFile, this);
  pdfFile_->setObjectName(QStringLiteral("PdfFileEdit"));
  auto* browse = new QPushButton(QStringLiteral("..."), this);
  browse->setObjectName(QStringLiteral("PdfFileButton"));
  connect(browse, &QPushButton::clicked, this, &PrintOptionsDialog::choosePdfFile);

  const bool noPrinter = printers_->count() == 0;
  switch (initial.destination) {
    case Destination::Printer:
      (noPrinter ? toPreview_ : toPrinter_)->setChecked(true);
      break;
    case Destination::Preview:
      toPreview_->setChecked(true);
      break;
    case Destination::PdfFile:
      toPdf_->setChecked(true);
      break;
  }
  toPrinter_->setEnabled(!noPrinter);
  for (QRadioButton* button : {toPrinter_, toPreview_, toPdf_})
    connect(button, &QRadioButton::toggled, this, &PrintOptionsDialog::updateEnabled);

  auto* pdfRow = new QHBoxLayout;
  pdfRow->addWidget(toPdf_);
  pdfRow->addWidget(pdfFile_, 1);
  pdfRow->addWidget(browse);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Stampante:"), printers_);
  copiesLabel_ = new QLabel(QStringLiteral("Copie per etichetta:"), this);
  copiesLabel_->setObjectName(QStringLiteral("CopiesLabel"));
  form->addRow(copiesLabel_, copies_);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("OkButton"));
  ok->setDefault(true);
  QPushButton* cancel = buttons->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("CancelButton"));
  connect(buttons, &QDialogButtonBox::accepted, this, &PrintOptionsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &PrintOptionsDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(toPrinter_);
  layout->addWidget(toPreview_);
  layout->addLayout(pdfRow);
  layout->addWidget(buttons);
  updateEnabled();
}

PrintSettings PrintOptionsDialog::settings() const {
  PrintSettings settings;
  settings.destination = toPdf_->isChecked()       ? Destination::PdfFile
                         : toPreview_->isChecked() ? Destination::Preview
                                                   : Destination::Printer;
  settings.printer = printers_->currentText();
  settings.pdfFile = pdfFile_->text().trimmed();
  settings.copies = copies_->value();
  return settings;
}

void PrintOptionsDialog::accept() {
  const PrintSettings chosen = settings();
  if (chosen.destination == Destination::PdfFile && chosen.pdfFile.isEmpty()) {
    ui::warning(QStringLiteral("Indicare il file PDF in cui stampare"));
    pdfFile_->setFocus();
    return;
  }
  if (chosen.destination == Destination::Printer && chosen.printer.isEmpty()) {
    ui::warning(
        QStringLiteral("Nessuna stampante disponibile: scegliere l'anteprima o un file PDF"));
    return;
  }
  QDialog::accept();
}

void PrintOptionsDialog::hideCopies() {
  copies_->hide();
  copiesLabel_->hide();
}

void PrintOptionsDialog::choosePdfFile() {
  const QString file =
      ui::prompter().chooseSaveFile(this, QStringLiteral("Stampa su file PDF"), pdfFile_->text(),
                                    QStringLiteral("File PDF (*.pdf)"));
  if (file.isEmpty()) return;
  pdfFile_->setText(file);
  toPdf_->setChecked(true);
}

void PrintOptionsDialog::updateEnabled() {
  printers_->setEnabled(toPrinter_->isChecked());
  pdfFile_->setEnabled(toPdf_->isChecked());
}

}  // namespace platform::reports
