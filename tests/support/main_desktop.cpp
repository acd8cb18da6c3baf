// SPDX-License-Identifier: GPL-3.0-or-later
#include <QGuiApplication>

#include "TestMain.h"

// A GUI application, so that tests can grab the X screen through Qt; the programs under test get
// their own private home from the module harness.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  return pellimo::test::runTests<QGuiApplication>(argc, argv);
}
