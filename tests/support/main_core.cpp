// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>

#include "TestMain.h"

int main(int argc, char** argv) {
  return pellimo::test::runTests<QCoreApplication>(argc, argv);
}
