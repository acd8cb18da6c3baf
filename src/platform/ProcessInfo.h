// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace pellimo::platform {

/// When process `pid` started, in clock ticks since boot (field 22 of /proc/<pid>/stat); 0 when
/// it cannot be read. Processes started later have larger values.
quint64 processStartTime(qint64 pid);

}  // namespace pellimo::platform
