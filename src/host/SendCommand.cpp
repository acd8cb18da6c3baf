// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QTextStream>

#include "host/Commands.h"
#include "host/ModuleProbe.h"
#include "host/Waiting.h"
#include "platform/BusContract.h"
#include "platform/DistributedNotificationCenter.h"
#include "platform/ModuleProxy.h"

namespace pellimo::host {

namespace {

constexpr int kReadyTimeoutMs = 10000;
constexpr int kQuitTimeoutMs = 5000;

/// Signals go out asynchronously; a round trip to the bus after posting makes sure the
/// command has left this process before it exits.
void flushBus() {
  QDBusConnection::sessionBus().interface()->call(QStringLiteral("GetId"));
}

}  // namespace

int sendCommand(const QString& command, const platform::Bundle& module) {
  using platform::bus::manifest::kKill;
  using platform::bus::manifest::kRefresh;
  const QString identifier = module.bundleIdentifier();
  const QString name = manifestName(module, command);
  // The module object takes these two whatever the manifest says: manifests made before
  // "refresh" lack it, and a module whose manifest is broken must still be stoppable.
  const bool byMethod = name.isEmpty() && (command == kRefresh || command == kKill);
  if (name.isEmpty() && !byMethod) {
    return fail(QStringLiteral("%1 cannot take \"%2\": %3")
                    .arg(identifier, command, manifestProblem(module)));
  }
  auto status = findRunningModule(identifier);
  if (!status) return fail(notRunning(module));
  if (status->responding && !status->ready) {
    const bool ready = waitUntil(
        [&] {
          status = findRunningModule(identifier);
          return !status || !status->responding || status->ready;
        },
        kReadyTimeoutMs);
    if (!status) return fail(QStringLiteral("%1 quit while starting").arg(identifier));
    if (!ready) {
      return fail(QStringLiteral("%1 did not become ready for commands within %2 s")
                      .arg(identifier)
                      .arg(kReadyTimeoutMs / 1000));
    }
  }
  // A command it would not take now could act long after, when it is let go.
  if (!status->responding) return fail(notResponding(*status));

  if (byMethod) {
    ModuleProxy proxy(status->service, QString(platform::bus::kModulePath),
                      QDBusConnection::sessionBus());
    QDBusPendingReply<> reply = command == kKill ? proxy.Quit() : proxy.Refresh();
    reply.waitForFinished();
    if (reply.isError()) {
      return fail(QStringLiteral("%1 did not take \"%2\": %3")
                      .arg(identifier, command, reply.error().message()));
    }
  } else {
    platform::DistributedNotificationCenter::defaultCenter().postNotificationName(name,
                                                                                  std::nullopt);
    flushBus();
  }

  if (command == kKill) {
    const qint64 pid = status->processIdentifier;
    const bool gone = waitUntil(
        [&] {
          auto now = findRunningModule(identifier);
          return !now || now->processIdentifier != pid;
        },
        kQuitTimeoutMs);
    if (!gone) {
      return fail(QStringLiteral("%1 (pid %2) did not quit; end it with `kill %2`")
                      .arg(identifier)
                      .arg(pid));
    }
  }
  return 0;
}

}  // namespace pellimo::host
