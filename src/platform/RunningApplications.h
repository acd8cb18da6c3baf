// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace pellimo::platform {

/// A module process found on the session bus.
struct RunningApplication {
  QString service;  // its bus name (BusContract.h)
  qint64 processIdentifier = 0;
  quint64 startTime = 0;  // clock ticks since boot

  /// Asks the module to quit normally; the answer is not waited for.
  void terminate() const;

  friend bool operator==(const RunningApplication&, const RunningApplication&) = default;
};

/// Whether `a` started before `b`: the earlier start time, the lower process id on a tie (start
/// times count clock ticks, so processes started together often share one).
bool startedBefore(const RunningApplication& a, const RunningApplication& b);

/// Every instance of the module `bundleIdentifier` that holds its name on the session bus, oldest
/// first. Found from the names and the bus's own answers alone: a module that does not answer,
/// stopped or busy, is listed all the same. No bus gives an empty list.
QList<RunningApplication> runningApplicationsWithBundleIdentifier(const QString& bundleIdentifier);

/// Every module process on the session bus, whatever its module, oldest first.
QList<RunningApplication> runningApplications();

}  // namespace pellimo::platform
