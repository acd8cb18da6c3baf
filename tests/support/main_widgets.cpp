// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>

#include "TestMain.h"

int main(int argc, char** argv) {
  // Test discovery runs this binary without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  return pellimo::test::runTests<QApplication>(argc, argv);
}
