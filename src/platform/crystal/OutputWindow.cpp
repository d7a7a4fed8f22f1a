#include "platform/crystal/OutputWindow.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace platform::crystal {

namespace {

QPushButton* commandButton(const QString& name, const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

void layOutOutputWindow(QWidget& window, const QString& title, QWidget* content,
                        const QString& saveText, const std::function<void()>& print,
                        const std::function<void()>& save) {
  window.setAttribute(Qt::WA_DeleteOnClose);
  window.setWindowTitle(title);
  QPushButton* stampa =
      commandButton(QStringLiteral("ButtonStampa"), QStringLiteral("&Stampa"), &window);
  QPushButton* salva = commandButton(QStringLiteral("ButtonSalva"), saveText, &window);
  QPushButton* chiudi =
      commandButton(QStringLiteral("ButtonChiudi"), QStringLiteral("&Chiudi"), &window);
  QObject::connect(stampa, &QPushButton::clicked, &window, print);
  QObject::connect(salva, &QPushButton::clicked, &window, save);
  QObject::connect(chiudi, &QPushButton::clicked, &window, &QWidget::close);
  auto* bar = new QHBoxLayout;
  bar->addWidget(stampa);
  bar->addWidget(salva);
  bar->addStretch();
  bar->addWidget(chiudi);
  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(bar);
  layout->addWidget(content, 1);
}

}  // namespace platform::crystal
