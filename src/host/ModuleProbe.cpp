#include "host/ModuleProbe.h"

#include <QDBusConnection>

#include "platform/BusContract.h"
#include "platform/ModuleProxy.h"
#include "platform/RunningApplications.h"

namespace pellimo::host {

std::optional<ModuleStatus> findRunningModule(const QString& bundleIdentifier) {
  for (const platform::RunningApplication& app : platform::runningApplications()) {
    if (app.bundleIdentifier != bundleIdentifier) continue;
    ModuleProxy proxy(app.service, QString(platform::bus::kModulePath),
                      QDBusConnection::sessionBus());
    ModuleStatus status;
    status.service = app.service;
    status.bundleIdentifier = app.bundleIdentifier;
    status.processIdentifier = app.processIdentifier;
    status.ready = proxy.ready();
    status.raised = proxy.raised();
    status.frame = proxy.frame();
    status.canvas = proxy.canvas();
    status.running = proxy.running();
    status.lastRun = proxy.lastRun();
    status.nextReload = proxy.nextReload();
    return status;
  }
  return std::nullopt;
}

}  // namespace pellimo::host
