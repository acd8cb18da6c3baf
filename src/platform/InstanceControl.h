#pragma once

#include <QList>
#include <QString>

#include "platform/RunningApplications.h"

namespace pellimo::platform {

/// The instances of `bundleIdentifier` that must quit so that only the first one in `running`
/// remains, in the order they are to be asked: the last one first. Empty when fewer than two
/// instances run. The caller's own process is not exempt.
QList<RunningApplication> instancesToTerminate(const QList<RunningApplication>& running,
                                               const QString& bundleIdentifier);

}  // namespace pellimo::platform
