#pragma once

#include <QList>
#include <QString>

namespace pellimo::platform {

/// A module process found on the session bus.
struct RunningApplication {
  QString service;  // its bus name, org.pellimo.Module.p<pid>
  QString bundleIdentifier;
  qint64 processIdentifier = 0;
  quint64 startTime = 0;  // clock ticks since boot

  /// Asks the module to quit normally; the answer is not waited for.
  void terminate() const;

  friend bool operator==(const RunningApplication&, const RunningApplication&) = default;
};

/// Every module exported on the session bus, oldest first (by start time, then process id).
/// Modules that do not answer within about a second are left out; no bus gives an empty list.
QList<RunningApplication> runningApplications();

}  // namespace pellimo::platform
