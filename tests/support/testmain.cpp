// Runs the tests of one program inside a Qt application (offscreen platform
// unless the environment says otherwise), so that fonts, images and timers work.
#include <gtest/gtest.h>
#ifdef TESSARY_WIDGETS_TEST
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TestApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
