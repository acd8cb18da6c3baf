#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "widget/BuiltInModule.h"

int main(int argc, char** argv) {
  // Test discovery runs this binary without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Neither the user's settings nor the user's script directory are touched.
  QTemporaryDir home;
  if (!home.isValid()) return 1;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
  QApplication app(argc, argv);
  pellimo::widget::registerBuiltInModule();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
