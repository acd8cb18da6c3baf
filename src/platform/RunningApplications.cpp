// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RunningApplications.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <algorithm>
#include <tuple>

#include "platform/BusContract.h"
#include "platform/ModuleProxy.h"
#include "platform/ProcessInfo.h"

namespace pellimo::platform {

namespace {

QList<RunningApplication> runningUnder(const QString& prefix) {
  const QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return {};
  QList<RunningApplication> running;
  for (const QString& name : bus.interface()->registeredServiceNames().value()) {
    if (!name.startsWith(prefix)) continue;
    // The bus tells the owner's process, not the name's claim; a name or process that has
    // just gone is no instance.
    const QDBusReply<uint> pid = bus.interface()->servicePid(name);
    if (!pid.isValid()) continue;
    const quint64 started = processStartTime(pid.value());
    if (started == 0) continue;
    running.append({name, qint64(pid.value()), started});
  }
  std::sort(running.begin(), running.end(), startedBefore);
  return running;
}

}  // namespace

void RunningApplication::terminate() const {
  ModuleProxy(service, bus::kModulePath, QDBusConnection::sessionBus()).Quit();
}

bool startedBefore(const RunningApplication& a, const RunningApplication& b) {
  return std::tie(a.startTime, a.processIdentifier) < std::tie(b.startTime, b.processIdentifier);
}

QList<RunningApplication> runningApplicationsWithBundleIdentifier(const QString& bundleIdentifier) {
  return runningUnder(bus::moduleServicePrefix(bundleIdentifier));
}

QList<RunningApplication> runningApplications() {
  return runningUnder(bus::kModuleServicePrefix);
}

}  // namespace pellimo::platform
