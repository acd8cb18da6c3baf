// SPDX-License-Identifier: GPL-3.0-or-later
#include "runner/ChildProcess.h"

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QThread>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <utility>

namespace pellimo::runner {

namespace {

// How often a wait at quit looks whether anything of a group is left.
constexpr int kPollMs = 10;

}  // namespace

ChildProcess::ChildProcess(QObject* parent) : QObject(parent) {
  process_.setInputChannelMode(QProcess::ForwardedInputChannel);
  connect(&process_, &QProcess::readyReadStandardOutput, this,
          [this] { emit output(process_.readAllStandardOutput()); });
  connect(&process_, &QProcess::readyReadStandardError, this,
          [this] { emit errorOutput(process_.readAllStandardError()); });
  // The group is kept after the interpreter has exited, also when nothing of it is left, until
  // the run is stopped: whether anything is left is known only by reading the status of every
  // process of the system, which would cost an idle widget more than the rest of its run.
  connect(&process_, &QProcess::finished, this, &ChildProcess::finished);
  connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    emit failedToStart(QStringLiteral("%1 could not be started: %2")
                           .arg(process_.program(), process_.errorString()));
  });
}

ChildProcess::~ChildProcess() {
  // Nothing is reported from a child being destroyed.
  disconnect(&process_, nullptr, this, nullptr);
  stopAndWait();
}

void ChildProcess::start(const QString& program, const QStringList& arguments) {
  group_ = ProcessGroup::make();
  if (!group_) {
    emit failedToStart(QStringLiteral("%1 could not be started: %2")
                           .arg(program, QString::fromLocal8Bit(::strerror(errno))));
    return;
  }
  process_.setChildProcessModifier([group = group_->id()] {
    // Outside the group, the script could not be stopped with it: better not to run it at all.
    if (::setpgid(0, group) != 0) ::_exit(127);
    // A module that dies without quitting must not leave its script running.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  });
  process_.start(program, arguments, QIODevice::ReadOnly);
}

void ChildProcess::signalGroup(int signal) {
  if (group_) group_->signal(signal);
}

void ChildProcess::terminate() {
  if (ending_) return;
  ending_ = true;
  signalGroup(SIGTERM);
  QTimer::singleShot(kKillDelayMs, this, [this] { signalGroup(SIGKILL); });
}

void ChildProcess::stop() {
  disconnect(this, nullptr, nullptr, nullptr);
  if (!group_) {
    deleteLater();
    return;
  }
  // Sent without looking whether anything of the group is left: the signals then reach only the
  // keeper's zombie, and the look would cost more than they do.
  if (!std::exchange(ending_, true)) signalGroup(SIGTERM);
  // Usually the group goes with its interpreter; what it left behind is killed at 2 s.
  if (isRunning()) {
    connect(&process_, &QProcess::finished, this, [this] {
      if (hasLiveMembers()) return;
      group_.reset();
      deleteLater();
    });
  }
  QTimer::singleShot(kKillDelayMs, this, [this] {
    signalGroup(SIGKILL);
    // Nothing more is sent to the group, so its keeper may go.
    group_.reset();
    deleteLater();
  });
}

void ChildProcess::stopAndWait(QDeadlineTimer deadline) {
  if (hasLiveMembers()) {
    terminate();
    while (hasLiveMembers() && !deadline.hasExpired()) {
      if (isRunning()) {
        process_.waitForFinished(kPollMs);
      } else {
        QThread::msleep(kPollMs);
      }
    }
    signalGroup(SIGKILL);
  }
  if (isRunning()) process_.waitForFinished(kKillDelayMs);
  // No signal goes to the group from now on: its number may be anyone's once it is empty.
  group_.reset();
}

}  // namespace pellimo::runner
