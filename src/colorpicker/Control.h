// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

#include "colorpicker/Action.h"

namespace pellimo::colorpicker {

/// A widget that reports to a target by sending its action with itself as the sender.
class Control : public QWidget {
  Q_OBJECT

 public:
  explicit Control(QWidget* parent = nullptr) : QWidget(parent) {}

  QObject* target() const { return target_; }
  void setTarget(QObject* target) { target_ = target; }
  const Action& action() const { return action_; }
  void setAction(Action action) { action_ = std::move(action); }

 protected:
  void sendAction() { action_.sendTo(target_, this); }

 private:
  QPointer<QObject> target_;
  Action action_;
};

}  // namespace pellimo::colorpicker
