// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace pellimo::tray {

/// `pellimo tray`: makes the GUI application, claims the session's one tray icon and shows it
/// until it is quit, carrying out each action with the program `pellimo`; returns the exit
/// status. Exits with 0 when a tray already runs, with 1 and one line on standard error when
/// there is no display, no session bus or no tray to show in; with `waitForHost`, only once none
/// has appeared for a minute.
int runTray(int& argc, char** argv, const QString& pellimo, bool waitForHost);

}  // namespace pellimo::tray
