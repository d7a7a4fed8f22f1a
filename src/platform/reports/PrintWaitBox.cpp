#include "platform/reports/PrintWaitBox.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace platform::reports {

PrintWaitBox::PrintWaitBox(QWidget* parent, const QString& title) : QDialog(parent) {
  setObjectName(QStringLiteral("PrintWaitBox"));
  setWindowTitle(title);
  setWindowModality(Qt::ApplicationModal);
  bar_ = new QProgressBar(this);
  bar_->setObjectName(QStringLiteral("ProgressBar"));
  bar_->setRange(0, 100);
  bar_->setValue(0);
  status_ = new QLabel(QStringLiteral("Stampa in corso..."), this);
  status_->setObjectName(QStringLiteral("StatusLabel"));
  auto* stop = new QPushButton(QStringLiteral("Interrompi"), this);
  stop->setObjectName(QStringLiteral("StopButton"));
  connect(stop, &QPushButton::clicked, this, &PrintWaitBox::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(status_);
  layout->addWidget(bar_);
  layout->addWidget(stop, 0, Qt::AlignHCenter);
  setMinimumWidth(320);
}

void PrintWaitBox::setProgress(int percent) {
  bar_->setValue(qBound(0, percent, 100));
}

int PrintWaitBox::progress() const {
  return bar_->value();
}

void PrintWaitBox::setLabelsDone(int labels) {
  status_->setText(QStringLiteral("Etichette stampate: %1").arg(labels));
}

void PrintWaitBox::setStatusText(const QString& text) {
  status_->setText(text);
}

void PrintWaitBox::reject() {
  // Escape and the close button stop the print; the box stays until the
  // loop has finished the label in hand.
  stopRequested_ = true;
  status_->setText(QStringLiteral("Interruzione in corso..."));
}

}  // namespace platform::reports
