#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "widget/BuiltInModule.h"

int main(int argc, char** argv) {
  // Test discovery runs this binary without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Settings and script files go to a private place, never to the user's own.
  QTemporaryDir home;
  if (!home.isValid()) return 1;
  const QString runtime = home.filePath(QStringLiteral("runtime"));
  QDir().mkpath(runtime);
  QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));

  QApplication app(argc, argv);
  pellimo::widget::registerBuiltInModule();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
