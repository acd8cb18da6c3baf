// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

namespace pellimo::colorpicker {

/// A message a control sends to its target, with the sender as its one argument: a member
/// function of the target's class. A target responds to it when it is of that class and the
/// sender is of the type the function takes.
class Action {
 public:
  Action() = default;

  template <class Receiver, class Sender>
  Action(void (Receiver::*method)(Sender*))
      : send_([method](QObject* target, QObject* sender) {
          auto* receiver = dynamic_cast<Receiver*>(target);
          auto* typedSender = dynamic_cast<Sender*>(sender);
          if (!receiver || (sender && !typedSender)) return false;
          (receiver->*method)(typedSender);
          return true;
        }) {}

  explicit operator bool() const { return static_cast<bool>(send_); }

  /// Sends the message; false when there is no message or the target does not respond to it.
  bool sendTo(QObject* target, QObject* sender) const {
    return send_ && target && send_(target, sender);
  }

 private:
  std::function<bool(QObject*, QObject*)> send_;
};

}  // namespace pellimo::colorpicker
