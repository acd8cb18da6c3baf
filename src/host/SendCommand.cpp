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
  const QString identifier = module.bundleIdentifier();
  const QString name = manifestName(module, command);
  // Manifests made before "refresh" lack it; the module object takes it all the same.
  const bool byMethod = name.isEmpty() && command == platform::bus::manifest::kRefresh;
  if (name.isEmpty() && !byMethod) {
    return fail(
        QStringLiteral("the manifest of %1 names no \"%2\" command").arg(identifier, command));
  }
  auto status = findRunningModule(identifier);
  if (!status) return fail(QStringLiteral("%1 is not running").arg(identifier));
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
    QDBusPendingReply<> reply = proxy.Refresh();
    reply.waitForFinished();
    if (reply.isError()) {
      return fail(QStringLiteral("%1 did not take \"refresh\": %2")
                      .arg(identifier, reply.error().message()));
    }
    return 0;
  }

  platform::DistributedNotificationCenter::defaultCenter().postNotificationName(name, std::nullopt);
  flushBus();

  if (command == platform::bus::manifest::kKill) {
    const qint64 pid = status->processIdentifier;
    const bool gone = waitUntil(
        [&] {
          auto now = findRunningModule(identifier);
          return !now || now->processIdentifier != pid;
        },
        kQuitTimeoutMs);
    if (!gone) return fail(QStringLiteral("%1 (pid %2) did not quit").arg(identifier).arg(pid));
  }
  return 0;
}

}  // namespace pellimo::host
