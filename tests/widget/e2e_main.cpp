#include <gtest/gtest.h>

#include <QGuiApplication>

// A GUI application, so that tests can grab the X screen quickly through Qt.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
