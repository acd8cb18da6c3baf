// SPDX-License-Identifier: GPL-3.0-or-later
#include "tray/SessionWatch.h"

#include <QDBusConnection>

#include "platform/BusContract.h"
#include "platform/DistributedNotificationCenter.h"

namespace pellimo::tray {

namespace {

// Long enough to gather a module's name and its announcement, or `launch --all`, into one.
constexpr int kQuietMs = 250;

}  // namespace

SessionWatch::SessionWatch(QObject* parent) : QObject(parent) {
  quiet_.setSingleShot(true);
  quiet_.setInterval(kQuietMs);
  connect(&quiet_, &QTimer::timeout, this, &SessionWatch::changed);
  // Every name change on the bus, sorted here: QtDBus matches arguments only exactly.
  QDBusConnection::sessionBus().connect(
      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameOwnerChanged"), this,
      SLOT(nameOwnerChanged(QString, QString, QString)));
}

void SessionWatch::followAnnouncements(const QStringList& names) {
  if (names == followed_) return;
  followed_ = names;
  announcements_ = std::make_unique<QObject>();
  auto& center = platform::DistributedNotificationCenter::defaultCenter();
  for (const QString& name : names)
    center.addObserver(announcements_.get(), name, [this] { quiet_.start(); });
}

void SessionWatch::nameOwnerChanged(const QString& name, const QString&, const QString&) {
  if (name.startsWith(platform::bus::kModuleServicePrefix)) quiet_.start();
}

}  // namespace pellimo::tray
