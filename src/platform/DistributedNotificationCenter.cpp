// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DistributedNotificationCenter.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>

#include "platform/BusContract.h"

namespace pellimo::platform {

namespace {

// The receiver of one observation: QtDBus delivers to slots only.
class BusObserver : public QObject {
  Q_OBJECT

 public:
  BusObserver(std::function<void(const QDBusMessage&)> handler, QObject* parent)
      : QObject(parent), handler_(std::move(handler)) {}

 public slots:
  // The parameter must be spelt as QDBusMessage: QtDBus matches the slot by its signature text.
  void deliver(const QDBusMessage& message) { handler_(message); }

 private:
  std::function<void(const QDBusMessage&)> handler_;
};

DistributedNotificationCenter::UserInfo userInfoOf(const QDBusMessage& message) {
  if (message.signature() != u"sa{ss}") return std::nullopt;
  const QVariant payload = message.arguments().at(1);
  if (payload.userType() != qMetaTypeId<QDBusArgument>()) return std::nullopt;
  return qdbus_cast<QMap<QString, QString>>(payload.value<QDBusArgument>());
}

}  // namespace

DistributedNotificationCenter::DistributedNotificationCenter() {
  qDBusRegisterMetaType<QMap<QString, QString>>();
}

DistributedNotificationCenter& DistributedNotificationCenter::defaultCenter() {
  // Never destroyed: its observers must not outlive the bus connection at exit.
  static auto* center = new DistributedNotificationCenter;
  return *center;
}

bool DistributedNotificationCenter::isConnected() const {
  return QDBusConnection::sessionBus().isConnected();
}

void DistributedNotificationCenter::postNotificationName(const QString& name,
                                                         const UserInfo& userInfo) {
  QDBusMessage signal = QDBusMessage::createSignal(
      bus::kNotificationPath, bus::kNotificationInterface, bus::kNotificationMember);
  QVariantList arguments{name};
  if (userInfo) arguments.append(QVariant::fromValue(*userInfo));
  signal.setArguments(arguments);
  QDBusConnection::sessionBus().send(signal);
}

bool DistributedNotificationCenter::addObserver(QObject* context, const QString& name,
                                                std::function<void()> handler) {
  return addObserverWithUserInfo(context, name,
                                 [handler = std::move(handler)](const UserInfo&) { handler(); });
}

bool DistributedNotificationCenter::addObserverWithUserInfo(
    QObject* context, const QString& name, std::function<void(const UserInfo&)> handler) {
  auto* observer = new BusObserver(
      [handler = std::move(handler)](const QDBusMessage& message) { handler(userInfoOf(message)); },
      this);
  // A null signature accepts the notification with and without its dictionary.
  const bool connected = QDBusConnection::sessionBus().connect(
      QString(), QString(), bus::kNotificationInterface, bus::kNotificationMember,
      QStringList{name}, QString(), observer, SLOT(deliver(QDBusMessage)));
  if (!connected) {
    delete observer;
    return false;
  }
  // Deleted at once, not later, so that no notification reaches a handler whose context is gone.
  connect(context, &QObject::destroyed, observer, [observer] { delete observer; });
  return true;
}

}  // namespace pellimo::platform

#include "DistributedNotificationCenter.moc"
