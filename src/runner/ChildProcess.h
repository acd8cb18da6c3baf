// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QProcess>
#include <optional>

#include "runner/ProcessGroup.h"

namespace pellimo::runner {

/// One run of a script: an interpreter in a process group made for the run, so that stopping
/// the run also stops whatever it started (a `sleep` in a shell loop, a job left in the
/// background), also once the interpreter itself has exited.
class ChildProcess : public QObject {
  Q_OBJECT

 public:
  /// How long a group has between SIGTERM and SIGKILL.
  static constexpr int kKillDelayMs = 2000;

  explicit ChildProcess(QObject* parent = nullptr);
  /// Ends what is left of the group, waiting in place, as `stopAndWait` does.
  ~ChildProcess() override;

  void start(const QString& program, const QStringList& arguments);
  /// Whether the interpreter is still running.
  bool isRunning() const { return process_.state() != QProcess::NotRunning; }
  /// Ends the run: SIGTERM to the group now, SIGKILL 2 s later to whatever of it is left. The
  /// child then reports nothing more; it deletes itself with the SIGKILL, or before when an
  /// interpreter still running is stopped and exits leaving nothing of its group.
  void stop();
  /// SIGTERM to the group now (once), SIGKILL 2 s later to whatever of it is left; the child
  /// goes on reporting until the interpreter exits.
  void terminate();
  /// At quit: SIGTERM to the group (unless sent already), then waits in place, since no event
  /// loop runs any more, until nothing of the group is left or `deadline` has passed, and sends
  /// SIGKILL to whatever is left then.
  void stopAndWait(QDeadlineTimer deadline = QDeadlineTimer(kKillDelayMs));

 signals:
  void output(const QByteArray& bytes);
  void errorOutput(const QByteArray& bytes);
  /// The child exited: `status` says whether by itself (`exitCode` its status) or by a signal
  /// (`exitCode` the signal's number).
  void finished(int exitCode, QProcess::ExitStatus status);
  /// The interpreter could not be started; the text says why.
  void failedToStart(const QString& reason);

 private:
  void signalGroup(int signal);
  bool hasLiveMembers() const { return group_ && group_->hasLiveMembers(); }

  /// The run's group, given up once the run is stopped and nothing of it is left. Declared
  /// before the process, so that the interpreter is reaped before the group's keeper.
  std::optional<ProcessGroup> group_;
  QProcess process_;
  bool ending_ = false;
};

}  // namespace pellimo::runner
