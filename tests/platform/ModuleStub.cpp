// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <cstdio>

#include "platform/ModuleObject.h"

// A stand-in module process for the instance tests: exports a module object for the bundle
// identifier it is given, says "exported", and serves until asked to quit.
int main(int argc, char** argv) {
  if (argc != 2) return 2;
  QCoreApplication app(argc, argv);
  pellimo::platform::ModuleObject module;
  QObject::connect(&module, &pellimo::platform::ModuleObject::quitRequested, &app,
                   &QCoreApplication::quit);
  if (!module.exportOnBus(QString::fromLocal8Bit(argv[1]))) return 2;
  std::puts("exported");
  std::fflush(stdout);
  return app.exec();
}
