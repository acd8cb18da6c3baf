// SPDX-License-Identifier: GPL-3.0-or-later
#include "host/ModuleProbe.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>

#include "platform/BusContract.h"
#include "platform/RunningApplications.h"

namespace pellimo::host {

namespace {

// Short enough that a command on a module that never answers still ends quickly; long enough
// for a module busy drawing.
constexpr int kAnswerTimeoutMs = 1500;

/// Every property in one call, so that a module that stops answering costs one timeout.
std::optional<QVariantMap> properties(const QString& service) {
  QDBusMessage call = QDBusMessage::createMethodCall(
      service, platform::bus::kModulePath, QStringLiteral("org.freedesktop.DBus.Properties"),
      QStringLiteral("GetAll"));
  call << QString(platform::bus::kModuleInterface);
  const QDBusMessage reply =
      QDBusConnection::sessionBus().call(call, QDBus::Block, kAnswerTimeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
    return std::nullopt;
  return qdbus_cast<QVariantMap>(reply.arguments().first());
}

}  // namespace

std::optional<ModuleStatus> findRunningModule(const QString& bundleIdentifier) {
  const auto running = platform::runningApplicationsWithBundleIdentifier(bundleIdentifier);
  if (running.isEmpty()) return std::nullopt;
  ModuleStatus status;
  status.service = running.first().service;
  status.bundleIdentifier = bundleIdentifier;
  status.processIdentifier = running.first().processIdentifier;
  const auto shown = properties(status.service);
  if (!shown) return status;
  status.responding = true;
  status.ready = shown->value("Ready").toBool();
  status.raised = shown->value("Raised").toBool();
  status.frame = shown->value("Frame").toString();
  status.canvas = shown->value("Canvas").toString();
  status.running = shown->value("Running").toBool();
  status.lastRun = qdbus_cast<QVariantMap>(shown->value("LastRun"));
  status.nextReload = shown->value("NextReload").toString();
  status.displayPath = shown->value("DisplayPath").toString();
  return status;
}

QString notResponding(const ModuleStatus& status) {
  return QStringLiteral("%1 is not responding (pid %2)")
      .arg(status.bundleIdentifier)
      .arg(status.processIdentifier);
}

}  // namespace pellimo::host
