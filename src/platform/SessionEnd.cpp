// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SessionEnd.h"

#include <QDBusConnection>
#include <QDebug>
#include <cstdlib>
#include <utility>

namespace pellimo::platform {

namespace {

SessionEnd* watching = nullptr;

}  // namespace

SessionEnd::SessionEnd(std::function<void()> beforeDisplayExit)
    : beforeDisplayExit_(std::move(beforeDisplayExit)) {
  // The bus library tells its own connection that the bus has closed with this local signal.
  QDBusConnection::sessionBus().connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                                        QStringLiteral("org.freedesktop.DBus.Local"),
                                        QStringLiteral("Disconnected"), this,
                                        SLOT(busDisconnected()));
  // Qt's X11 connection calls exit() when the display goes; nothing else in a module exits
  // while this object lives.
  static const bool registered = std::atexit(&SessionEnd::displayGone) == 0;
  Q_UNUSED(registered);
  watching = this;
}

SessionEnd::~SessionEnd() {
  watching = nullptr;
}

void SessionEnd::busDisconnected() {
  qInfo().noquote() << "pellimo-widget: quitting: the session bus is gone";
  emit busGone();
}

void SessionEnd::displayGone() {
  if (!watching) return;
  SessionEnd* session = std::exchange(watching, nullptr);
  qInfo().noquote() << "pellimo-widget: quitting: the display is gone";
  if (session->beforeDisplayExit_) session->beforeDisplayExit_();
}

}  // namespace pellimo::platform
