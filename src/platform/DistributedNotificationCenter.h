// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace pellimo::platform {

/// Named notifications between the processes of the logged-in user, carried as a signal on the
/// D-Bus session bus (see BusContract.h). "No user information" and "an empty dictionary" stay
/// distinct on the wire: the dictionary argument is left out for the former.
class DistributedNotificationCenter : public QObject {
  Q_OBJECT

 public:
  using UserInfo = std::optional<QMap<QString, QString>>;

  static DistributedNotificationCenter& defaultCenter();

  /// Whether a session bus is reachable; without one, posts go nowhere and observers never fire.
  bool isConnected() const;

  void postNotificationName(const QString& name, const UserInfo& userInfo = std::nullopt);

  /// Calls `handler` for every notification named `name`, from any sender, whatever else it
  /// carries, until `context` (not null) is destroyed. False when the bus refused the match.
  bool addObserver(QObject* context, const QString& name, std::function<void()> handler);
  /// Like `addObserver`, handing over the user information: nothing when the notification has
  /// none or carries something other than a dictionary of strings.
  bool addObserverWithUserInfo(QObject* context, const QString& name,
                               std::function<void(const UserInfo&)> handler);

 private:
  DistributedNotificationCenter();
};

}  // namespace pellimo::platform
