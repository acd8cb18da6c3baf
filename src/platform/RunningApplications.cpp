#include "platform/RunningApplications.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <algorithm>
#include <optional>
#include <tuple>

#include "platform/BusContract.h"
#include "platform/ModuleProxy.h"

namespace pellimo::platform {

namespace {

constexpr int kAnswerTimeoutMs = 1000;

std::optional<RunningApplication> describe(const QString& service, const QDBusConnection& bus) {
  ModuleProxy module(service, bus::kModulePath, bus);
  module.setTimeout(kAnswerTimeoutMs);
  // A module that does not answer the first question is not asked the others.
  RunningApplication application{service, module.bundleIdentifier(), 0, 0};
  if (module.lastError().isValid()) return std::nullopt;
  application.processIdentifier = module.processId();
  application.startTime = module.startTime();
  if (module.lastError().isValid()) return std::nullopt;
  return application;
}

}  // namespace

void RunningApplication::terminate() const {
  ModuleProxy(service, bus::kModulePath, QDBusConnection::sessionBus()).Quit();
}

QList<RunningApplication> runningApplications() {
  const QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return {};
  const QStringList names = bus.interface()->registeredServiceNames().value();
  QList<RunningApplication> running;
  for (const QString& name : names) {
    if (!name.startsWith(bus::kModuleServicePrefix)) continue;
    if (auto application = describe(name, bus)) running.append(*application);
  }
  std::stable_sort(running.begin(), running.end(), [](const auto& a, const auto& b) {
    return std::tie(a.startTime, a.processIdentifier) < std::tie(b.startTime, b.processIdentifier);
  });
  return running;
}

}  // namespace pellimo::platform
