#include "labels/EnvironmentWindow.h"

#include <QCloseEvent>

#include "env/TabX.h"

EnvironmentWindow::EnvironmentWindow(QWidget* owner, std::unique_ptr<TTabXForm> ambiente,
                                     const QString& designCaption)
    : QWidget(owner, Qt::Window), ambiente_(std::move(ambiente)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(designCaption + ' ' + ambiente_->Ditta);
}

EnvironmentWindow::~EnvironmentWindow() = default;

void EnvironmentWindow::releaseEnvironment() {
  ambiente_.reset();
}

void StandaloneCapableWindow::closeEvent(QCloseEvent* event) {
  if (standalone_) {
    QWidget::closeEvent(event);
    return;
  }
  // Created by another window: hide and keep the environment for the creator.
  event->ignore();
  hide();
}
