// SPDX-License-Identifier: GPL-3.0-or-later
// The tray icon's program, which `pellimo tray` runs in its place:
//   pellimo-tray PELLIMO [--wait]
// PELLIMO is the `pellimo` that carries out the menu's actions.
#include <QFile>
#include <QTextStream>
#include <cstring>

#include "tray/TrayMain.h"

int main(int argc, char** argv) {
  const bool wait = argc == 3 && std::strcmp(argv[2], "--wait") == 0;
  if (argc != 2 && !wait) {
    QTextStream(stderr) << "usage: pellimo-tray PELLIMO [--wait]; run it as `pellimo tray`\n";
    return 2;
  }
  const QString pellimo = QFile::decodeName(argv[1]);
  return pellimo::tray::runTray(argc, argv, pellimo, wait);
}
