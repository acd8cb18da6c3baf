// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariantMap>
#include <optional>

namespace pellimo::host {

/// What a running module shows of itself on the bus.
struct ModuleStatus {
  QString service;
  QString bundleIdentifier;
  qint64 processIdentifier = 0;
  /// Whether it answered; a module that holds its name but does not answer (stopped, or hung)
  /// shows nothing else.
  bool responding = false;
  bool ready = false;
  bool raised = false;
  QString frame;
  QString canvas;
  bool running = false;
  /// How the last run ended (see the module's LastRun property); empty before one has.
  QVariantMap lastRun;
  /// ISO 8601; empty when the script is not reloaded.
  QString nextReload;
  /// How its windows reach the screen: "x11", "xwayland", or Qt's platform name.
  QString displayPath;
};

/// The status of the instance that stays running for a bundle identifier (the oldest one), or
/// nothing when none runs. A module is asked once and given a second and a half to answer.
std::optional<ModuleStatus> findRunningModule(const QString& bundleIdentifier);

/// "<identifier> is not responding (pid N)".
QString notResponding(const ModuleStatus& status);

}  // namespace pellimo::host
