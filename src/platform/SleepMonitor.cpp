// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SleepMonitor.h"

#include <QDBusConnection>

namespace pellimo::platform {

SleepMonitor& SleepMonitor::shared() {
  static SleepMonitor monitor;
  return monitor;
}

SleepMonitor::SleepMonitor() {
  // Only logind itself may announce sleep: the match names its service.
  QDBusConnection::systemBus().connect(
      QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
      QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
      SLOT(prepareForSleep(bool)));
}

void SleepMonitor::prepareForSleep(bool sleeping) {
  if (sleeping) {
    emit willSleep();
  } else {
    emit didWake();
  }
}

}  // namespace pellimo::platform
