#include <QCoreApplication>

#include "TestMain.h"

int main(int argc, char** argv) {
  return pellimo::test::runTests<QCoreApplication>(argc, argv);
}
