// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/NotificationCenter.h"

#include <algorithm>

namespace pellimo::platform {

NotificationCenter& NotificationCenter::defaultCenter() {
  static NotificationCenter center;
  return center;
}

void NotificationCenter::addObserver(QObject* context, const QString& name,
                                     std::function<void()> handler) {
  observers_.push_back({nextId_++, context, name, std::move(handler)});
  connect(context, &QObject::destroyed, this, [this, context] { removeObserversOf(context); });
}

void NotificationCenter::postNotificationName(const QString& name) {
  std::vector<quint64> due;
  for (const Observer& observer : observers_) {
    if (observer.name == name) due.push_back(observer.id);
  }
  // A handler may destroy a context or add observers, so look each one up again before calling.
  for (const quint64 id : due) {
    const auto it = std::find_if(observers_.begin(), observers_.end(),
                                 [id](const Observer& observer) { return observer.id == id; });
    if (it == observers_.end()) continue;
    const std::function<void()> handler = it->handler;
    handler();
  }
}

void NotificationCenter::removeObserversOf(QObject* context) {
  std::erase_if(observers_,
                [context](const Observer& observer) { return observer.context == context; });
}

}  // namespace pellimo::platform
