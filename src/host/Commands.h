// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "platform/Bundle.h"

namespace pellimo::host {

/// Each command prints what it did and returns the process's exit status; failures print one
/// line on standard error first.
int launchModule(const platform::Bundle& module);
int sendCommand(const QString& command, const platform::Bundle& module);
int watchModule(const platform::Bundle& module, int count);
int printStatus(const platform::Bundle& module, bool json);
int listModules();
int newModule(const QString& name);

/// Prints "pellimo: <reason>" on standard error and returns the failure status.
int fail(const QString& reason);

/// The notification name the module's manifest gives under `key`, or an empty string.
QString manifestName(const platform::Bundle& module, const QString& key);
/// What keeps the host from reaching the module through its manifest: no manifest, an unreadable
/// one, or the keys it names nothing for; an empty string when nothing does.
QString manifestProblem(const platform::Bundle& module);

}  // namespace pellimo::host
