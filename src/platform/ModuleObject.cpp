// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ModuleObject.h"

#include <QDebug>

#include <QCoreApplication>
#include <QDBusConnection>

#include "platform/BusContract.h"
#include "platform/ModuleAdaptor.h"
#include "platform/ProcessInfo.h"

namespace pellimo::platform {

ModuleObject::ModuleObject(QObject* parent)
    : QObject(parent),
      processId_(QCoreApplication::applicationPid()),
      startTime_(processStartTime(processId_)) {
  new ModuleAdaptor(this);
}

bool ModuleObject::exportOnBus(const QString& bundleIdentifier) {
  bundleIdentifier_ = bundleIdentifier;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.registerObject(bus::kModulePath, this, QDBusConnection::ExportAdaptors)) return false;
  if (!bus.registerService(bus::moduleServiceName(bundleIdentifier, processId_))) {
    bus.unregisterObject(bus::kModulePath);
    return false;
  }
  return true;
}

void ModuleObject::Refresh() {
  QMetaObject::invokeMethod(this, &ModuleObject::refreshRequested, Qt::QueuedConnection);
}

void ModuleObject::Quit() {
  // A module that vanishes must say why in its log.
  qInfo().noquote() << "pellimo-widget: quitting: asked to by"
                    << (calledFromDBus() ? message().service() : QStringLiteral("this process"));
  QMetaObject::invokeMethod(this, &ModuleObject::quitRequested, Qt::QueuedConnection);
}

}  // namespace pellimo::platform
