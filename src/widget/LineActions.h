// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "runner/ActionProcess.h"
#include "runner/LineAttributes.h"

namespace pellimo::widget {

class lbl;

/// Does what a line's action asks: opens its link with the desktop's URL handler, runs its
/// program (in the desktop's terminal emulator unless the line says otherwise), and reruns
/// the script when it asks to, after the program has exited. Each is logged; a failure shows
/// on the canvas for a while.
class LineActions : public QObject {
  Q_OBJECT

 public:
  /// The terminal emulator Debian's alternatives name, run as `x-terminal-emulator -e …`.
  static constexpr const char* kTerminal = "x-terminal-emulator";

  /// `canvas` shows the failures; `refresh` reruns the script.
  LineActions(lbl* canvas, std::function<void()> refresh, QObject* parent = nullptr);
  ~LineActions() override;

  void run(const runner::LineAction& action);

 private:
  void start(const runner::LineAction& action);
  void ended(runner::ActionProcess* process, const QString& command, std::optional<int> exitStatus,
             std::optional<int> signal, const QString& errorText, bool refresh);
  void fail(const QString& reason);

  lbl* canvas_;
  std::function<void()> refresh_;
  std::vector<std::unique_ptr<runner::ActionProcess>> running_;
};

}  // namespace pellimo::widget
