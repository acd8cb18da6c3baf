#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "ModuleHelper.h"
#include "platform/ModuleObject.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], pellimo::test::kHelperOption) == 0) {
    // A stand-in module process: exports its module object until asked to quit.
    QCoreApplication app(argc, argv);
    pellimo::platform::ModuleObject module;
    QObject::connect(&module, &pellimo::platform::ModuleObject::quitRequested, &app,
                     &QCoreApplication::quit);
    if (!module.exportOnBus(QString::fromLocal8Bit(argv[2]))) return 2;
    std::puts(pellimo::test::kHelperExported);
    std::fflush(stdout);
    return app.exec();
  }
  // The settings store must never see the user's own configuration.
  QTemporaryDir home;
  if (!home.isValid()) return 1;
  qputenv("XDG_CONFIG_HOME", home.filePath("config").toLocal8Bit());
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
