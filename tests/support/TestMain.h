// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace pellimo::test {

/// Runs every test inside an application of type `App`, with HOME and the XDG directories in a
/// temporary folder: no test sees the user's own settings, scripts or modules.
template <typename App>
int runTests(int argc, char** argv) {
  QTemporaryDir home;
  if (!home.isValid()) return 1;
  qputenv("HOME", QFile::encodeName(home.path()));
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"}) {
    qputenv(name, QFile::encodeName(home.filePath(QString::fromLatin1(name).toLower())));
  }
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
  App app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

}  // namespace pellimo::test
