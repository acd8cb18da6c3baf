// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace pellimo::runner {

/// A program a click on a line starts: in a session of its own, apart from the script's
/// runs, so that no reload, refresh or quit ends it, with the widget's environment and no
/// shell. Its standard error goes to a file of its own rather than a pipe, so that it can go
/// on writing after the widget has quit.
class ActionProcess : public QObject {
  Q_OBJECT

 public:
  /// Starts `program`, looked up on PATH, with `arguments`; null, with the reason in `why`,
  /// when it cannot start.
  static std::unique_ptr<ActionProcess> start(const QString& program, const QStringList& arguments,
                                              QString* why);
  /// Leaves the process running; nothing more is heard of it.
  ~ActionProcess() override;

  pid_t pid() const { return pid_; }

 signals:
  /// The process has ended: `exitStatus` when it exited, else `signal`; `errorText` is the end
  /// of what it wrote on standard error.
  void finished(std::optional<int> exitStatus, std::optional<int> signal, const QString& errorText);

 private:
  ActionProcess(pid_t pid, int pidFd, int errorFd);
  void reap();

  pid_t pid_;
  int pidFd_;
  int errorFd_;
  std::unique_ptr<QSocketNotifier> exitNotifier_;
};

}  // namespace pellimo::runner
