#include "app/EnvironmentWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include "env/TabX.h"

namespace app {

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

void EnvironmentWindow::centreOverOwner() {
  const QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
  QRect area;
  if (over && over->isVisible()) {
    area = over->frameGeometry();
  } else if (const QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen()) {
    area = where->availableGeometry();
  } else {
    return;
  }
  QRect frame = geometry();
  frame.moveCenter(area.center());
  move(frame.topLeft());
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

}  // namespace app
