// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/InstanceControl.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <algorithm>

#include "platform/BusContract.h"
#include "platform/ProcessInfo.h"

namespace pellimo::platform {

std::optional<RunningApplication> olderInstance(const QList<RunningApplication>& running,
                                                const RunningApplication& self) {
  const auto first = std::min_element(running.begin(), running.end(), startedBefore);
  if (first == running.end() || !startedBefore(*first, self)) return std::nullopt;
  return *first;
}

InstanceControl::InstanceControl(const QString& bundleIdentifier, QObject* parent)
    : QObject(parent), bundleIdentifier_(bundleIdentifier) {
  const qint64 pid = QCoreApplication::applicationPid();
  self_ = {bus::moduleServiceName(bundleIdentifier, pid), pid, processStartTime(pid)};
  // A trailing '*' watches every name in the namespace before it.
  QString names = bus::moduleServicePrefix(bundleIdentifier);
  names.back() = u'*';
  auto* watcher = new QDBusServiceWatcher(names, QDBusConnection::sessionBus(),
                                          QDBusServiceWatcher::WatchForRegistration, this);
  connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] {
    if (auto older = olderInstance()) emit olderInstanceAppeared(*older);
  });
}

std::optional<RunningApplication> InstanceControl::olderInstance() const {
  return platform::olderInstance(runningApplicationsWithBundleIdentifier(bundleIdentifier_), self_);
}

}  // namespace pellimo::platform
