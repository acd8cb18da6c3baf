// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <functional>

namespace pellimo::host {

/// Serves the event loop (bus signals included) until `done` holds or `timeoutMs` passes;
/// returns whether it held. A command-line host may wait like this; the widget never does.
bool waitUntil(const std::function<bool()>& done, int timeoutMs);

/// Whether process `pid` still exists.
bool processAlive(qint64 pid);

}  // namespace pellimo::host
