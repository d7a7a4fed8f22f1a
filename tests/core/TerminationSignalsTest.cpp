#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <csignal>

#include "core/TerminationSignals.h"

namespace {

TEST(TerminationSignals, SignalSetsTheFlagAndWakesTheEventLoop) {
  QObject context;
  int calls = 0;
  core::onTermination(&context, [&] { ++calls; });
  core::resetTerminationRequest();
  EXPECT_FALSE(core::terminationRequested());

  std::raise(SIGTERM);
  EXPECT_TRUE(core::terminationRequested());
  EXPECT_EQ(core::terminationSignal(), SIGTERM);
  QElapsedTimer timer;
  timer.start();
  while (calls == 0 && timer.elapsed() < 2000) QCoreApplication::processEvents();
  EXPECT_EQ(calls, 1);
  // It fires once, however many signals follow.
  std::raise(SIGINT);
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(calls, 1);
  core::resetTerminationRequest();
  EXPECT_FALSE(core::terminationRequested());
}

}  // namespace
