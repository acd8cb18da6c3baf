#include "runner/ChildProcess.h"

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QTimer>

namespace pellimo::runner {

namespace {

constexpr int kKillDelayMs = 2000;

}  // namespace

ChildProcess::ChildProcess(QObject* parent) : QObject(parent) {
  process_.setInputChannelMode(QProcess::ForwardedInputChannel);
  process_.setChildProcessModifier([] {
    ::setpgid(0, 0);
    // A module that dies without quitting must not leave its script running.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  });
  connect(&process_, &QProcess::readyReadStandardOutput, this,
          [this] { emit output(process_.readAllStandardOutput()); });
  connect(&process_, &QProcess::readyReadStandardError, this,
          [this] { emit errorOutput(process_.readAllStandardError()); });
  connect(&process_, &QProcess::finished, this, &ChildProcess::finished);
  connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    emit failedToStart(QStringLiteral("%1 could not be started: %2")
                           .arg(process_.program(), process_.errorString()));
  });
}

ChildProcess::~ChildProcess() {
  if (isRunning()) stopAndWait();
}

void ChildProcess::start(const QString& program, const QStringList& arguments) {
  process_.start(program, arguments, QIODevice::ReadOnly);
  group_ = process_.processId();
}

void ChildProcess::signalGroup(int signal) {
  if (group_ > 0) ::kill(static_cast<pid_t>(-group_), signal);
}

void ChildProcess::stop() {
  disconnect(this, nullptr, nullptr, nullptr);
  if (!isRunning()) {
    // The group may be gone and its number reused: only a running child's group is signalled.
    deleteLater();
    return;
  }
  connect(&process_, &QProcess::finished, this, &QObject::deleteLater);
  terminate();
}

void ChildProcess::terminate() {
  if (!isRunning()) return;
  signalGroup(SIGTERM);
  QTimer::singleShot(kKillDelayMs, this, [this] {
    if (isRunning()) signalGroup(SIGKILL);
  });
}

void ChildProcess::stopAndWait() {
  signalGroup(SIGTERM);
  if (!process_.waitForFinished(kKillDelayMs)) {
    signalGroup(SIGKILL);
    process_.waitForFinished(kKillDelayMs);
  }
}

}  // namespace pellimo::runner
