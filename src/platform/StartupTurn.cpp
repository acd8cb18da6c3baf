#include "platform/StartupTurn.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QThread>

#include "platform/BusContract.h"

namespace pellimo::platform {

namespace {

constexpr int kTurnTimeoutMs = 5000;
constexpr int kPollMs = 10;

}  // namespace

StartupTurn::StartupTurn() {
  QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
  if (!bus) return;
  // Polled rather than queued for: nothing of this process serves the bus yet, so it may block.
  const QDeadlineTimer deadline(kTurnTimeoutMs);
  while (true) {
    const auto reply =
        bus->registerService(bus::kStartupTurnName, QDBusConnectionInterface::DontQueueService,
                             QDBusConnectionInterface::DontAllowReplacement);
    held_ = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
    if (held_ || !reply.isValid() || deadline.hasExpired()) return;
    QThread::msleep(kPollMs);
  }
}

StartupTurn::~StartupTurn() {
  if (held_) QDBusConnection::sessionBus().interface()->unregisterService(bus::kStartupTurnName);
}

}  // namespace pellimo::platform
