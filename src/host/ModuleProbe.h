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
  bool ready = false;
  bool raised = false;
  QString frame;
  QString canvas;
  bool running = false;
  /// How the last run ended (see the module's LastRun property); empty before one has.
  QVariantMap lastRun;
  /// ISO 8601; empty when the script is not reloaded.
  QString nextReload;
};

/// The status of the instance that stays running for a bundle identifier (the oldest one), or
/// nothing when none runs.
std::optional<ModuleStatus> findRunningModule(const QString& bundleIdentifier);

}  // namespace pellimo::host
