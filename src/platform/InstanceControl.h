// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "platform/RunningApplications.h"

namespace pellimo::platform {

/// Settles which instance of a module stays: the one that started first (`startedBefore`). Each
/// instance decides for itself and quits when it is not the one. It watches the bus for names of
/// its module from before it first lists them, so of two instances starting at once the newer
/// one always learns of the older: from the list when the older took its name first, from the
/// watch otherwise. Instances are known by their names, so one that does not answer counts too.
class InstanceControl : public QObject {
  Q_OBJECT

 public:
  /// Starts watching for instances of `bundleIdentifier`.
  explicit InstanceControl(const QString& bundleIdentifier, QObject* parent = nullptr);

  /// The instance that stays when it is not this process; nothing when this process stays.
  std::optional<RunningApplication> olderInstance() const;

 signals:
  /// An instance that started before this process has come onto the bus.
  void olderInstanceAppeared(const pellimo::platform::RunningApplication& older);

 private:
  QString bundleIdentifier_;
  RunningApplication self_;
};

/// The instance of `running` that stays when it is not `self`; nothing when `self` stays.
std::optional<RunningApplication> olderInstance(const QList<RunningApplication>& running,
                                                const RunningApplication& self);

}  // namespace pellimo::platform
