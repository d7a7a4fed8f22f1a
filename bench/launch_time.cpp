// Time from an export call to its window shown, on embedded Firebird
// databases of a demo installation: the whole launch, from the environment's
// creation (user database, settings) through the main database's connection
// to the window on screen.
#include <dlfcn.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "support/HostInstallation.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;

  HostInstallation host;
  QByteArray dir = qgetenv("ORBELAN_LIBRARY_DIR");
  if (dir.isEmpty()) dir = QCoreApplication::applicationDirPath().toLocal8Bit() + "/../src";
  void* library = dlopen((dir + "/libOrbelan.so").constData(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    std::fprintf(stderr, "cannot load libOrbelan: %s\n", dlerror());
    return 1;
  }
  using Entry = std::int32_t (*)(std::int32_t);
  const auto show = reinterpret_cast<Entry>(dlsym(library, "ShowGestEticFormD"));

  std::vector<double> millis;
  for (int i = 0; i < runs; ++i) {
    QElapsedTimer timer;
    timer.start();
    show(1);
    QWidget* window = QApplication::activeWindow();
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (widget->isVisible()) window = widget;
    if (!window || !QTest::qWaitForWindowExposed(window)) {
      std::fprintf(stderr, "the window was not shown\n");
      return 1;
    }
    QCoreApplication::processEvents();
    millis.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  std::sort(millis.begin(), millis.end());
  std::printf(
      "ShowGestEticFormD to window shown, %d runs: min %.1f ms, median %.1f ms, max %.1f ms\n",
      runs, millis.front(), millis[millis.size() / 2], millis.back());
  return 0;
}
