// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "platform/Bundle.h"

namespace pellimo::host {

/// Each command prints what it did and returns the process's exit status; failures print one
/// line on standard error first.
int launchModule(const platform::Bundle& module);
/// Launches every module (`all`) or those marked to start at login and then the tray when it is
/// marked, skipping with a message the ones that are gone or broken; fails when any did.
int launchModules(bool all);
int sendCommand(const QString& command, const platform::Bundle& module);
int watchModule(const platform::Bundle& module, int count);
int printStatus(const platform::Bundle& module, bool json);
int listModules(bool namesOnly);
/// The modules with their state, and whether the tray starts at login, as one JSON object: what
/// the tray's menu shows.
int listModulesAsJson();
int newModule(const QString& name);
/// Quits and deletes a module made with `pellimo new`, asking first unless `confirmed`.
int removeModule(const QString& name, bool confirmed);
/// Marks the module `argument` names to start at login, or takes the mark away.
int setAutostart(const QString& argument, bool on);
/// Marks the tray icon to start at login, after the marked modules, or takes the mark away.
int setTrayAutostart(bool on);

/// Prints "pellimo: <reason>" on standard error and returns the failure status.
int fail(const QString& reason);

/// $XDG_STATE_HOME/pellimo, where the logs go.
QString stateDirectory();
/// The module's log, which `pellimo launch` sends its output to.
QString moduleLogPath(const platform::Bundle& module);

/// "<identifier> is not running; start it with `pellimo launch <module>`".
QString notRunning(const platform::Bundle& module);

/// The notification name the module's manifest gives under `key`, or an empty string.
QString manifestName(const platform::Bundle& module, const QString& key);
/// What keeps the host from reaching the module through its manifest: no manifest, an unreadable
/// one, or the keys it names nothing for; an empty string when nothing does.
QString manifestProblem(const platform::Bundle& module);

}  // namespace pellimo::host
