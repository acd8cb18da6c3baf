// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace pellimo::host {

/// The program `name` that comes with this one (`pellimo-widget`, `pellimo-tray`): beside it
/// first (a build tree), then where an install puts it relative to it (any prefix), then on
/// PATH; an empty string when there is none.
QString companionProgram(const QString& name);

/// `pellimo tray`: runs the tray program in this process's place, telling it which `pellimo`
/// carries out its actions; returns only when that cannot be done.
int runTray(bool waitForHost);

}  // namespace pellimo::host
