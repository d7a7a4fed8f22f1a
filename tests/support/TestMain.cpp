#include <gtest/gtest.h>

#include <QApplication>

// Every test program: windows offscreen unless a platform is named, and the
// freshly built libOrbelan (and its siblings) found in the build tree.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef ORBELAN_BUILT_LIBRARY_DIR
  if (qEnvironmentVariableIsEmpty("ORBELAN_LIBRARY_DIR"))
    qputenv("ORBELAN_LIBRARY_DIR", ORBELAN_BUILT_LIBRARY_DIR);
#endif
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
