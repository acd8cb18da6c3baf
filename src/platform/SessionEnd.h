// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

namespace pellimo::platform {

/// Notices the end of the session a module belongs to, so that the module says why it quits:
/// the session bus closing (then `busGone` asks it to quit), or the display going (then Qt
/// itself ends the process with exit(), and `beforeDisplayExit` runs first).
class SessionEnd : public QObject {
  Q_OBJECT

 public:
  /// Watches from now until destroyed; one at a time.
  explicit SessionEnd(std::function<void()> beforeDisplayExit);
  ~SessionEnd() override;

 signals:
  void busGone();

 private slots:
  void busDisconnected();

 private:
  static void displayGone();

  std::function<void()> beforeDisplayExit_;
};

}  // namespace pellimo::platform
