// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

namespace pellimo::platform {

/// Named notifications within the process, delivered synchronously.
class NotificationCenter : public QObject {
  Q_OBJECT

 public:
  static NotificationCenter& defaultCenter();

  /// Calls `handler` for every notification named `name` until `context` (not null) is destroyed.
  void addObserver(QObject* context, const QString& name, std::function<void()> handler);
  /// Calls the observers of `name` at once, in the order they were added. Observers added while
  /// it runs wait for the next post; one whose context is destroyed meanwhile is skipped.
  void postNotificationName(const QString& name);

 private:
  struct Observer {
    quint64 id;
    QObject* context;
    QString name;
    std::function<void()> handler;
  };

  void removeObserversOf(QObject* context);

  std::vector<Observer> observers_;
  quint64 nextId_ = 0;
};

}  // namespace pellimo::platform
