// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QVariantMap>
#include <optional>

namespace pellimo::runner {

/// How the last run that ended came to its end: what a user reads to see why a widget looks
/// as it does.
struct RunReport {
  /// The script's exit status; none when a signal ended it or it never started.
  std::optional<int> exitStatus;
  std::optional<int> signal;
  qint64 durationMs = 0;
  /// Why the runner stopped it: "time limit", "error output", "failed to start", or empty.
  QString stoppedFor;
  QDateTime ended;

  /// The report as the module shows it on the bus: absent values are left out.
  QVariantMap toMap() const;
};

}  // namespace pellimo::runner
