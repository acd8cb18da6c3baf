// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusNotifierWatcher.h"

#include <QDBusConnection>

namespace pellimo::test {

bool StatusNotifierWatcher::publish() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  return bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")) &&
         bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                QDBusConnection::ExportAllProperties);
}

void StatusNotifierWatcher::RegisterStatusNotifierItem(const QString& service) {
  items_.append(service);
  emit StatusNotifierItemRegistered(service);
}

void StatusNotifierWatcher::RegisterStatusNotifierHost(const QString&) {
  emit StatusNotifierHostRegistered();
}

}  // namespace pellimo::test
